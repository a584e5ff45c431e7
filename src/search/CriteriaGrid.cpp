#include "search/CriteriaGrid.h"

#include "search/CriteriaGeometry.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <QValidator>

namespace papyrant {

namespace {

const QChar OpenBracket = QLatin1Char('(');
const QChar CloseBracket = QLatin1Char(')');

// Keeps only one bracket character in a box, whatever arrives: typing is already filtered
// key by key, but pasted or dropped text would otherwise carry letters, quotes or blanks
// straight into the statement, which places the bracket texts as they are.
class BracketOnlyValidator : public QValidator {
public:
    BracketOnlyValidator(QChar bracket, QObject* parent)
        : QValidator(parent)
        , m_bracket(bracket)
    {
    }

    State validate(QString& input, int& position) const override
    {
        QString kept;
        int keptBeforeCaret = 0;
        for (int i = 0; i < input.size(); ++i) {
            if (input[i] != m_bracket)
                continue;
            kept += input[i];
            if (i < position)
                ++keptBeforeCaret;
        }
        input = kept;
        position = keptBeforeCaret;
        return Acceptable;
    }

private:
    QChar m_bracket;
};

QString indexed(const char* designName, int i)
{
    return QLatin1String(designName) + QLatin1Char('_') + QString::number(i);
}

} // namespace

CriteriaGrid::CriteriaGrid(QWidget* parent)
    : QWidget(parent)
    , m_window(new QWidget(this))
    , m_slider(new QWidget(m_window))
    , m_scroll(new QScrollBar(Qt::Vertical, this))
    , m_summary(new QLineEdit(this))
    , m_search(new QPushButton(QStringLiteral("Search"), this))
{
    using namespace criteria;
    setObjectName(QStringLiteral("CriteriaGrid"));
    m_window->setObjectName(QStringLiteral("Picturecontaner"));
    m_slider->setObjectName(QStringLiteral("PictureSlider"));
    m_scroll->setObjectName(QStringLiteral("Scroll1"));
    m_summary->setObjectName(QStringLiteral("Text3"));
    m_search->setObjectName(QStringLiteral("Command8"));
    m_summary->setReadOnly(true);

    m_window->setFixedSize(px(WindowWidth, Qt::Horizontal), px(WindowHeight, Qt::Vertical));
    m_slider->setGeometry(0, 0, px(PanelWidth, Qt::Horizontal), px(PanelHeight, Qt::Vertical));
    for (int i = 0; i < CriteriaRowCount; ++i)
        buildRow(i);

    // The column captions stand above the window, over their boxes.
    auto* captions = new QWidget(this);
    captions->setFixedSize(m_window->width(), px(300, Qt::Vertical));
    auto caption = [&](const char* name, const QString& text, int left, int width) {
        auto* label = new QLabel(text, captions);
        label->setObjectName(QLatin1String(name));
        label->setGeometry(px(left, Qt::Horizontal), 0, px(width, Qt::Horizontal), captions->height());
    };
    caption("Label2", QStringLiteral("Open brackets"), OpenBracketsLeft - 300, BracketsWidth + 550);
    caption("Label5", QStringLiteral("Requested words"), WordsLeft, WordsWidth);
    caption("Label4", QStringLiteral("Close brackets"), CloseBracketsLeft - 150, BracketsWidth + 600);

    m_scroll->setRange(0, scrollMaximum());
    m_scroll->setSingleStep(1);
    m_scroll->setPageStep(1);
    m_scroll->setFixedHeight(m_window->height());
    // valueChanged also fires while the thumb is dragged (tracking), so the panel follows it.
    connect(m_scroll, &QScrollBar::valueChanged, this, &CriteriaGrid::scrollTo);

    auto* summaryCaption = new QLabel(QStringLiteral("Search items :"), this);
    summaryCaption->setObjectName(QStringLiteral("Label6"));
    connect(m_search, &QPushButton::clicked, this, &CriteriaGrid::searchRequested);

    auto* gridRow = new QHBoxLayout;
    gridRow->setSpacing(0);
    gridRow->addWidget(m_window);
    gridRow->addWidget(m_scroll);
    gridRow->addStretch();
    auto* summaryRow = new QHBoxLayout;
    summaryRow->addWidget(summaryCaption);
    summaryRow->addWidget(m_summary, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_search);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(captions);
    layout->addLayout(gridRow);
    layout->addLayout(summaryRow);
    layout->addLayout(buttonRow);
    layout->addStretch();

    UpdateSearchSummary();
}

void CriteriaGrid::buildRow(int i)
{
    using namespace criteria;
    Row& row = m_rows[i];
    row.strip = new QWidget(m_slider);
    row.strip->setObjectName(indexed("Picture1", i));
    row.strip->setGeometry(0, px(RowTops[i], Qt::Vertical), px(RowWidth, Qt::Horizontal), px(RowHeight, Qt::Vertical));

    auto place = [this](QWidget* box, int left, int top, int width, int height) {
        box->setGeometry(
            px(left, Qt::Horizontal), px(top, Qt::Vertical), px(width, Qt::Horizontal), px(height, Qt::Vertical));
    };
    row.open = new QLineEdit(row.strip);
    row.open->setObjectName(indexed("TextBrackets1", i));
    row.open->setValidator(new BracketOnlyValidator(OpenBracket, row.open));
    place(row.open, OpenBracketsLeft, BoxTop, BracketsWidth, BoxHeight);

    row.words = new QLineEdit(row.strip);
    row.words->setObjectName(indexed("TextFind1", i));
    place(row.words, WordsLeft, BoxTop, WordsWidth, BoxHeight);

    row.color = new QLineEdit(row.strip);
    row.color->setObjectName(indexed("TextColor1", i));
    row.color->hide();

    row.close = new QLineEdit(row.strip);
    row.close->setObjectName(indexed("TextBrackets2", i));
    row.close->setValidator(new BracketOnlyValidator(CloseBracket, row.close));
    place(row.close, CloseBracketsLeft, BoxTop, BracketsWidth, BoxHeight);

    row.op = new QComboBox(row.strip);
    row.op->setObjectName(indexed("Combo1", i));
    row.op->addItems({QStringLiteral("And"), QStringLiteral("Or"), QStringLiteral("Not")});
    place(row.op, OperatorLeft, OperatorTop, OperatorWidth, OperatorHeight);

    const bool first = i == 0;
    for (QLineEdit* box : {row.open, row.words, row.close}) {
        box->setEnabled(first);
        box->installEventFilter(this);
    }
    connect(row.words, &QLineEdit::textChanged, this, [this, i] { wordsChanged(i); });
    // Enter in a words box searches, as the "Search" button does.
    connect(row.words, &QLineEdit::returnPressed, this, &CriteriaGrid::searchRequested);
    connect(row.open, &QLineEdit::textChanged, this, &CriteriaGrid::UpdateSearchSummary);
    connect(row.close, &QLineEdit::textChanged, this, &CriteriaGrid::UpdateSearchSummary);
    connect(row.op, &QComboBox::currentIndexChanged, this, &CriteriaGrid::UpdateSearchSummary);
}

int CriteriaGrid::px(int twips, Qt::Orientation orientation) const
{
    return twipsToPixels(twips, orientation == Qt::Horizontal ? logicalDpiX() : logicalDpiY());
}

CriteriaRows CriteriaGrid::rows() const
{
    CriteriaRows values;
    for (int i = 0; i < CriteriaRowCount; ++i) {
        const Row& row = m_rows[i];
        values[i] = CriteriaRow{row.open->text(), row.words->text(), row.op->currentText(), row.close->text()};
    }
    return values;
}

QString CriteriaGrid::summary() const
{
    return m_summary->text();
}

bool CriteriaGrid::switchedOn(const QWidget* box) const
{
    return box->isEnabledTo(this);
}

void CriteriaGrid::wordsChanged(int i)
{
    if (i < CriteriaRowCount - 1) {
        // The next row opens once this one holds words; what it holds is kept either way.
        const bool on = !m_rows[i].words->text().isEmpty();
        const Row& next = m_rows[i + 1];
        next.words->setEnabled(on);
        next.open->setEnabled(on);
        next.close->setEnabled(on);
    }
    UpdateSearchSummary();
}

void CriteriaGrid::UpdateSearchSummary()
{
    m_summary->setText(searchSummary(rows()));
}

void CriteriaGrid::TidyRows()
{
    const CriteriaRows tidied = tidiedRows(rows());
    for (int i = 0; i < CriteriaRowCount; ++i) {
        Row& row = m_rows[i];
        row.words->setText(tidied[i].words);
        row.open->setText(tidied[i].openBrackets);
        row.close->setText(tidied[i].closeBrackets);
    }
}

void CriteriaGrid::clearRows()
{
    for (Row& row : m_rows) {
        row.open->clear();
        row.words->clear();
        row.close->clear();
    }
    m_rows[0].words->setFocus();
}

void CriteriaGrid::showHighlightWords(const HighlightWords& words)
{
    for (int i = 0; i < CriteriaRowCount; ++i)
        m_rows[i].color->setText(words[i]);
}

void CriteriaGrid::scrollTo(int value)
{
    m_slider->move(0, px(criteria::panelTopForScroll(value), Qt::Vertical));
}

bool CriteriaGrid::findBox(const QObject* object, int& row, BoxKind& kind) const
{
    for (int i = 0; i < CriteriaRowCount; ++i) {
        const Row& r = m_rows[i];
        if (object != r.open && object != r.words && object != r.close)
            continue;
        row = i;
        kind = object == r.open ? BoxKind::Open : object == r.words ? BoxKind::Words : BoxKind::Close;
        return true;
    }
    return false;
}

bool CriteriaGrid::eventFilter(QObject* watched, QEvent* event)
{
    int row = 0;
    BoxKind kind = BoxKind::Words;
    if (event->type() != QEvent::KeyPress || !findBox(watched, row, kind))
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (moveFocusByArrow(row, kind, key->key()))
        return true;
    return discardTypedKey(kind, *key);
}

bool CriteriaGrid::moveFocusByArrow(int row, BoxKind kind, int key)
{
    const Row& here = m_rows[row];
    QLineEdit* box = kind == BoxKind::Open ? here.open : kind == BoxKind::Words ? here.words : here.close;
    const bool caretAtEnd = box->cursorPosition() == box->text().size();
    const bool caretAtStart = box->cursorPosition() == 0;
    auto sameKind = [kind](const Row& r) {
        return kind == BoxKind::Open ? r.open : kind == BoxKind::Words ? r.words : r.close;
    };

    QLineEdit* target = nullptr;
    switch (key) {
    case Qt::Key_Right:
        if (kind == BoxKind::Words && caretAtEnd)
            target = here.close;
        else if (kind == BoxKind::Open && caretAtEnd)
            target = here.words;
        break;
    case Qt::Key_Left:
        if (kind == BoxKind::Words && caretAtStart)
            target = here.open;
        else if (kind == BoxKind::Close && caretAtStart)
            target = here.words;
        break;
    case Qt::Key_Down:
        if (row < CriteriaRowCount - 1)
            target = sameKind(m_rows[row + 1]);
        break;
    case Qt::Key_Up:
        if (row > 0)
            target = sameKind(m_rows[row - 1]);
        break;
    default: break;
    }
    // A switched-off box cannot take the caret (the row above may be off when its own
    // predecessor was emptied); the caret then stays where it is.
    if (!target || !switchedOn(target))
        return false;
    target->setFocus(Qt::OtherFocusReason);
    return true;
}

bool CriteriaGrid::discardTypedKey(BoxKind kind, const QKeyEvent& key) const
{
    if (kind == BoxKind::Words)
        return false;
    // Only characters typed as text are judged; editing keys, shortcuts such as paste
    // (whose text the validator filters) and focus keys pass.
    if (key.text().isEmpty() || key.key() == Qt::Key_Backspace || key.key() == Qt::Key_Delete
        || key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab)
        return false;
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QChar allowed = kind == BoxKind::Open ? OpenBracket : CloseBracket;
    return key.text() != QString(allowed);
}

} // namespace papyrant
