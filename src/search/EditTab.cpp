#include "search/EditTab.h"

#include "core/RecordModel.h"
#include "core/Twips.h"
#include "screens/BoxText.h"
#include "screens/FittedTextBox.h"
#include "screens/PictureButtons.h"
#include "screens/ScrollingForm.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace papyrant {

namespace {

// The bar's buttons, a little larger than the kit's.
QToolButton* barButton(QWidget* bar, const char* name, const char* picture, const QString& toolTip)
{
    QToolButton* button = pictureButton(bar, name, QIcon(QLatin1String(picture)), toolTip);
    button->setIconSize(QSize(28, 28));
    return button;
}

} // namespace

EditTab::EditTab(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("EditTab"));
    QWidget* buttons = buildButtons();
    QWidget* fields = buildFields();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buttons);
    layout->addWidget(fields, 1);
}

QWidget* EditTab::buildButtons()
{
    auto* bar = new QWidget(this);
    m_counter = new QLabel(bar);
    m_counter->setObjectName(QStringLiteral("Label7"));
    m_counter->setMinimumWidth(px(2600));
    m_previous = barButton(bar, "CommandUp", ":/searchart/up.svg", QStringLiteral("Previous record"));
    m_next = barButton(bar, "CommandDown", ":/searchart/down.svg", QStringLiteral("Next record"));
    auto* goCaption = new QLabel(QStringLiteral("Go to record no."), bar);
    m_goTo = new QLineEdit(bar);
    m_goTo->setObjectName(QStringLiteral("Text4"));
    m_goTo->setFixedWidth(px(1000));
    // Typed keys are filtered one by one; this keeps pasted text to digits as well.
    m_goTo->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), m_goTo));
    m_goTo->installEventFilter(this);
    goCaption->setBuddy(m_goTo);
    m_go = new QPushButton(QStringLiteral("Go"), bar);
    m_go->setObjectName(QStringLiteral("CommandGo"));
    m_update
        = barButton(bar, "CommandUpdate", ":/searchart/save.svg", QStringLiteral("Save changes of current record"));
    m_remove = barButton(bar, "CommandRemove", ":/searchart/remove.svg", QStringLiteral("Remove current record"));
    m_cite = new QPushButton(QStringLiteral("Copy citation"), bar);
    m_cite->setObjectName(QStringLiteral("CommandCite"));
    m_cite->setToolTip(QStringLiteral("Copy the current record as a BibTeX citation"));
    // The caption alone does not say which format the clipboard gets.
    m_cite->setAccessibleName(QStringLiteral("Copy citation as BibTeX"));
    for (QWidget* control :
        {static_cast<QWidget*>(m_previous), static_cast<QWidget*>(m_next), static_cast<QWidget*>(m_go),
            static_cast<QWidget*>(m_update), static_cast<QWidget*>(m_remove), static_cast<QWidget*>(m_cite)})
        control->setEnabled(false);

    connect(m_previous, &QToolButton::clicked, this, &EditTab::previousRequested);
    connect(m_next, &QToolButton::clicked, this, &EditTab::nextRequested);
    connect(m_go, &QPushButton::clicked, this, &EditTab::goToRequested);
    connect(m_update, &QToolButton::clicked, this, &EditTab::saveRequested);
    connect(m_remove, &QToolButton::clicked, this, &EditTab::removeRequested);
    connect(m_cite, &QPushButton::clicked, this, &EditTab::citationRequested);
    connect(m_goTo, &QLineEdit::textChanged, this, [this](const QString& text) { m_go->setEnabled(!text.isEmpty()); });

    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_counter);
    row->addWidget(m_previous);
    row->addWidget(m_next);
    row->addSpacing(px(300));
    row->addWidget(goCaption);
    row->addWidget(m_goTo);
    row->addWidget(m_go);
    row->addStretch();
    row->addWidget(m_update);
    row->addWidget(m_remove);
    row->addWidget(m_cite);
    return bar;
}

QWidget* EditTab::buildFields()
{
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Picture4"));
    auto* grid = new QGridLayout(panel);
    const auto& names = fieldDisplayNames();
    for (int i = 0; i < EditFieldCount; ++i) {
        auto* label = new QLabel(names[i], panel);
        label->setObjectName(QStringLiteral("Label1_%1").arg(i));
        // As high as the value needs, within the field's lines; longer values scroll.
        auto* field = new FittedTextBox(fieldBoxLines(i), panel);
        field->setObjectName(QStringLiteral("Text2_%1").arg(i));
        label->setBuddy(field);
        m_fields[i] = field;
        grid->addWidget(label, i, 0, Qt::AlignTop);
        grid->addWidget(field, i, 1, 1, 2);
    }
    auto* categoryLabel = new QLabel(names[Category], panel);
    categoryLabel->setObjectName(QStringLiteral("Label1_11"));
    m_category = new QComboBox(panel);
    m_category->setObjectName(QStringLiteral("Combo3"));
    m_category->setEditable(true);
    // A typed category reaches the record when it is saved, not the list.
    m_category->setInsertPolicy(QComboBox::NoInsert);
    categoryLabel->setBuddy(m_category);
    m_newCategory = new QPushButton(QStringLiteral("New"), panel);
    m_newCategory->setObjectName(QStringLiteral("Command7"));
    m_newCategory->setToolTip(QStringLiteral("New category"));
    connect(m_newCategory, &QPushButton::clicked, this, &EditTab::newCategoryRequested);
    grid->addWidget(categoryLabel, EditFieldCount, 0);
    grid->addWidget(m_category, EditFieldCount, 1);
    grid->addWidget(m_newCategory, EditFieldCount, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(EditFieldCount + 1, 1);
    // The fields scroll in their frame; the one that takes the focus comes into view.
    return scrollingForm(this, panel, "Picture3", "VScroll1");
}

int EditTab::px(int twips) const
{
    return twipsToPixels(twips, logicalDpiY());
}

bool EditTab::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_goTo && event->type() == QEvent::KeyPress)
        return filterGoToKey(*static_cast<QKeyEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

bool EditTab::filterGoToKey(const QKeyEvent& key)
{
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
        if (!m_goTo->text().isEmpty())
            emit goToRequested();
        return true;
    }
    // Keys that type nothing (arrows, Delete, Tab) and shortcuts such as paste, whose
    // text the validator checks, pass; of typed characters only digits and Backspace do.
    const QString text = key.text();
    if (text.isEmpty() || key.key() == Qt::Key_Backspace || key.key() == Qt::Key_Delete || key.key() == Qt::Key_Tab
        || key.key() == Qt::Key_Backtab
        || (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    return !(text.size() == 1 && text[0] >= QLatin1Char('0') && text[0] <= QLatin1Char('9'));
}

void EditTab::showFields(const EditFields& fields)
{
    m_loaded = fields.texts;
    for (int i = 0; i < EditFieldCount; ++i) {
        // A field that already shows the text keeps its cursor, as after a save.
        if (boxText(m_fields[i]) != lineFeedForm(fields.texts[i]))
            m_fields[i]->setPlainText(fields.texts[i]);
    }
    if (fields.category)
        m_category->setCurrentText(*fields.category);
    m_loadedCategory = m_category->currentText();
}

void EditTab::clearFields()
{
    for (QPlainTextEdit* field : m_fields)
        field->clear();
    m_loaded = {};
    m_category->setCurrentIndex(-1);
    m_category->clearEditText();
    m_loadedCategory.clear();
}

EditTexts EditTab::texts() const
{
    EditTexts texts;
    for (int i = 0; i < EditFieldCount; ++i) {
        texts[i] = boxText(m_fields[i]);
        // The field shows carriage returns as plain line breaks; a field left as it was
        // gives back the stored text, so saving another field does not rewrite its breaks.
        if (texts[i] == lineFeedForm(m_loaded[i]))
            texts[i] = m_loaded[i];
    }
    return texts;
}

QString EditTab::categoryText() const
{
    return m_category->currentText();
}

bool EditTab::changed() const
{
    return texts() != m_loaded || categoryText() != m_loadedCategory;
}

void EditTab::showPosition(const EditPosition& position)
{
    setCounter(position.counter);
    m_previous->setEnabled(position.buttons.previous);
    m_next->setEnabled(position.buttons.next);
}

void EditTab::setCounter(const QString& text)
{
    m_counter->setText(text);
}

void EditTab::searchFinished(int resultCount)
{
    const bool found = resultCount > 0;
    m_update->setEnabled(found);
    m_remove->setEnabled(found);
    m_cite->setEnabled(found);
    m_next->setEnabled(found && resultCount > 1);
    m_previous->setEnabled(false);
    m_category->setEnabled(found);
    m_newCategory->setEnabled(found);
    if (found) {
        setCounter(recordCounter(1, resultCount));
    } else {
        setCounter(NoRecordsFound);
        clearFields();
    }
    m_goTo->clear();
}

void EditTab::resultsEmptied()
{
    m_update->setEnabled(false);
    m_remove->setEnabled(false);
    m_cite->setEnabled(false);
    clearFields();
}

void EditTab::setCategories(const QStringList& names)
{
    m_category->clear();
    m_category->addItems(names);
    m_category->setCurrentIndex(-1);
}

QStringList EditTab::categories() const
{
    QStringList names;
    for (int i = 0; i < m_category->count(); ++i)
        names << m_category->itemText(i);
    return names;
}

void EditTab::listCategory(const QString& name)
{
    const QString shown = m_category->currentText();
    m_category->addItem(name);
    // The first entry of an empty list becomes current by itself; the record's stays.
    if (m_category->count() == 1) {
        m_category->setCurrentIndex(-1);
        m_category->setEditText(shown);
    }
}

void EditTab::showCategory(const QString& name)
{
    m_category->setCurrentIndex(m_category->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

QString EditTab::goToText() const
{
    return m_goTo->text();
}

void EditTab::setGoToText(const QString& text)
{
    m_goTo->setText(text);
}

} // namespace papyrant
