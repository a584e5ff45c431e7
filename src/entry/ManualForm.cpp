#include "entry/ManualForm.h"

#include "core/Bibliography.h"
#include "core/Captions.h"
#include "core/Clock.h"
#include "core/Prompts.h"
#include "entry/EntryControls.h"
#include "entry/TextView.h"
#include "screens/AccessibleNames.h"
#include "screens/BoxText.h"
#include "screens/FittedTextBox.h"
#include "screens/PictureButtons.h"
#include "screens/ScrollingForm.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace papyrant {
namespace {

const QColor TakenColour(255, 0, 0);

} // namespace

ManualForm::ManualForm(Bibliography& bibliography, QWidget* parent)
    : WorkingScreen(ScreenKind::ManualAdding, bibliography, parent)
    , m_data(bibliography)
{
    setObjectName(QStringLiteral("ManualForm"));

    auto* save
        = pictureButton(this, "Command6", QStyle::SP_DialogSaveButton, QStringLiteral("Save current state in a file"));
    const ViewColumn left = viewColumn(this, "Command4", QStringLiteral("/HManual.htm"), {save});
    m_view = left.view;
    m_open = left.open;
    connect(m_open, &QToolButton::clicked, this, &ManualForm::openTextFile);
    connect(
        save, &QToolButton::clicked, this, [this] { saveCurrentState(prompts(), m_saved, m_view->model().text()); });
    connect(left.back, &QToolButton::clicked, this, &ManualForm::back);

    // The entry boxes scroll in their frame; the box that takes the focus comes into view.
    QScrollArea* entries = scrollingForm(this, buildEntryPanel(), "Picture1", "VScroll1");
    entries->setMinimumWidth(420);

    auto* categoryCaption = new QLabel(QStringLiteral("Put in category"), this);
    categoryCaption->setObjectName(QStringLiteral("Label2"));
    m_categories = new QComboBox(this);
    m_categories->setObjectName(QStringLiteral("Combo1"));
    m_categories->setMinimumContentsLength(16);
    auto* newCategory = captionButton(this, QStringLiteral("Command5"), QStringLiteral("New"));
    newCategory->setToolTip(QStringLiteral("Add new category"));
    connect(newCategory, &QPushButton::clicked, this, [this] { addCategory(m_categories); });
    auto* add = captionButton(this, QStringLiteral("Command2"), QStringLiteral("Add"));
    connect(add, &QPushButton::clicked, this, &ManualForm::addRecord);
    auto* category = new QHBoxLayout;
    category->addWidget(categoryCaption);
    category->addWidget(m_categories, 1);
    category->addWidget(newCategory);
    category->addStretch();
    category->addWidget(add);

    auto* right = new QVBoxLayout;
    right->addWidget(entries, 1);
    right->addLayout(category);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left.layout, 1);
    layout->addLayout(right, 1);

    // Load: the binding on the open bibliography, today's date, the categories (an
    // extraction handing over its failed records replaces them with its own list), the
    // caption.
    m_data.setRecordSource(QStringLiteral("Abstracts"));
    m_entryDate->setText(todayText());
    FillCategoryList();
    setWindowTitle(windowCaption(ScreenKind::ManualAdding, bibliography.BibName()));
    resize(1100, 680);
}

ManualForm::~ManualForm() = default;

void ManualForm::FillCategoryList()
{
    fillSorted(m_categories, bibliography().refreshCategories(prompts()));
}

QWidget* ManualForm::buildEntryPanel()
{
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Picture2"));
    auto* layout = new QGridLayout(panel);
    const QStringList captions{QStringLiteral("Title:"), QStringLiteral("Authors:"), QStringLiteral("Author address:"),
        QStringLiteral("Source:"), QStringLiteral("Publishing year:"), QStringLiteral("Key words:"),
        QStringLiteral("Publication type:"), QStringLiteral("Language:"), QStringLiteral("Abstract:"),
        QStringLiteral("Personal comment:"), QStringLiteral("Entry date:")};
    for (int i = 0; i < EntryBoxCount; ++i) {
        auto* caption = new QLabel(captions[i], panel);
        caption->setObjectName(QStringLiteral("Label1_%1").arg(i));
        layout->addWidget(caption, 2 * i, 0, 1, 2);
        QWidget* box = nullptr;
        if (i < 10) {
            // As high as the value needs, within the field's lines; longer values scroll.
            m_boxes[i] = new FittedTextBox(fieldBoxLines(i), panel);
            box = m_boxes[i];
        } else {
            m_entryDate = new QLineEdit(panel);
            box = m_entryDate;
        }
        box->setObjectName(QStringLiteral("Text2_%1").arg(i));
        caption->setBuddy(box);
        layout->addWidget(box, 2 * i + 1, 0);
        if (i < 9) {
            auto* take
                = captionButton(panel, QStringLiteral("Command1_%1").arg(i), QStringLiteral("Get selected text "));
            // Nine buttons with the same words: a screen reader says which box each fills.
            take->setAccessibleName(QStringLiteral("Get selected text into ") + nameFromCaption(captions[i]));
            connect(take, &QPushButton::clicked, this, [this, i] { takeSelection(i); });
            layout->addWidget(take, 2 * i + 1, 1, Qt::AlignTop);
        }
    }
    layout->setRowStretch(2 * EntryBoxCount, 1);
    return panel;
}

void ManualForm::takeSelection(int field)
{
    const QString taken = m_view->selectedModelText();
    m_boxes[field]->setPlainText(taken);
    m_taken[field] = taken;
    m_view->colourSelection(TakenColour);
}

void ManualForm::openTextFile()
{
    if (openTextFileInto(m_view))
        m_saved.StateSaved = false;
}

EntryBoxes ManualForm::boxTexts() const
{
    EntryBoxes texts;
    for (int i = 0; i < 10; ++i) {
        texts[i] = boxText(m_boxes[i]);
        // A box still showing what it took from the view gives that text as the file has it.
        if (i < 9 && !m_taken[i].isEmpty() && lineFeedForm(m_taken[i]) == texts[i])
            texts[i] = m_taken[i];
    }
    texts[Entry_Date] = m_entryDate->text();
    return texts;
}

void ManualForm::clearBoxes()
{
    for (QPlainTextEdit* box : m_boxes)
        box->clear();
    m_taken.fill(QString());
}

void ManualForm::addRecord()
{
    const EntryBoxes texts = boxTexts();
    if (!hasRecordData(texts)) {
        prompts().message(QStringLiteral("There is no data to be added!"), programTitle(), PromptButtons::Ok,
            PromptIcon::Information, PromptButton::Ok);
        return;
    }
    chooseNoneWhenEmpty(m_categories);
    try {
        if (!m_data.hasRecordset())
            m_data.refresh();
        papyrant::addRecord(m_data.recordset(), manualRecord(texts, m_categories->currentText()));
    } catch (const std::exception& e) {
        // Nothing was written; the boxes keep their entries for another try, which opens
        // the table afresh.
        m_data.close();
        prompts().notice(addFailureMessage(errorText(e)));
        return;
    }
    clearBoxes();
}

void ManualForm::receiveFailedRecords(const QString& texts, const QStringList& categories, int currentIndex)
{
    m_view->setModelText(texts);
    m_open->setEnabled(false);
    m_categories->clear();
    m_categories->addItems(categories);
    m_categories->setCurrentIndex(currentIndex);
    m_servesExtraction = true;
}

void ManualForm::back()
{
    m_saved.StateSaved = false;
    leave(m_servesExtraction ? ScreenExit::BackToExtraction : ScreenExit::BackToPanel);
}

void ManualForm::unloadScreen()
{
    m_data.close();
}

} // namespace papyrant
