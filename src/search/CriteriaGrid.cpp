#include "search/CriteriaGrid.h"

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
#include <QWheelEvent>

namespace papyrant {

namespace {

const QChar OpenBracket = QLatin1Char('(');
const QChar CloseBracket = QLatin1Char(')');
constexpr int RowGap = 6; // pixels between two rows

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
    , m_room(new QWidget(this))
    , m_window(new QWidget(m_room))
    , m_slider(new QWidget(m_window))
    , m_scroll(new QScrollBar(Qt::Vertical, m_room))
    , m_summary(new QLineEdit(this))
    , m_search(new QPushButton(QStringLiteral("Search"), this))
{
    setObjectName(QStringLiteral("CriteriaGrid"));
    m_window->setObjectName(QStringLiteral("Picturecontaner"));
    m_slider->setObjectName(QStringLiteral("PictureSlider"));
    m_scroll->setObjectName(QStringLiteral("Scroll1"));
    m_summary->setObjectName(QStringLiteral("Text3"));
    m_search->setObjectName(QStringLiteral("Command8"));
    m_summary->setReadOnly(true);

    auto* rowsLayout = new QVBoxLayout(m_slider);
    rowsLayout->setContentsMargins(0, 0, 0, 0);
    rowsLayout->setSpacing(0);
    for (int i = 0; i < CriteriaRowCount; ++i) {
        buildRow(i);
        rowsLayout->addWidget(m_rows[i].strip);
    }
    m_rowPitch = m_rows[0].strip->sizeHint().height();
    for (const Row& row : m_rows)
        row.strip->setFixedHeight(m_rowPitch);
    m_slider->setFixedHeight(CriteriaRowCount * m_rowPitch);

    // One step of the bar is one row; the wheel and the track move whole rows too.
    m_scroll->setSingleStep(1);
    // valueChanged also fires while the thumb is dragged (tracking), so the panel follows it.
    connect(m_scroll, &QScrollBar::valueChanged, this, &CriteriaGrid::scrollTo);
    m_room->setObjectName(QStringLiteral("CriteriaRoom"));
    m_room->setMinimumHeight(m_rowPitch);
    m_room->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    m_room->installEventFilter(this);
    m_window->installEventFilter(this);

    auto* summaryCaption = new QLabel(QStringLiteral("Search items :"), this);
    summaryCaption->setObjectName(QStringLiteral("Label6"));
    summaryCaption->setBuddy(m_summary);
    connect(m_search, &QPushButton::clicked, this, &CriteriaGrid::searchRequested);

    auto* summaryRow = new QHBoxLayout;
    summaryRow->addWidget(summaryCaption);
    summaryRow->addWidget(m_summary, 1);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(m_search);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildCaptions());
    // The rows take what height the screen has; the summary and the button stay under
    // them.
    layout->addWidget(m_room, 1);
    layout->addLayout(summaryRow);
    layout->addLayout(buttonRow);

    UpdateSearchSummary();
}

QWidget* CriteriaGrid::buildCaptions()
{
    // The captions stand over their columns: the same widths and gaps as the rows.
    auto* captions = new QWidget(this);
    auto* line = new QHBoxLayout(captions);
    const QMargins margins = m_rows[0].strip->layout()->contentsMargins();
    line->setContentsMargins(margins.left(), 0, margins.right() + m_scroll->sizeHint().width(), 0);
    line->setSpacing(m_rows[0].strip->layout()->spacing());
    auto caption = [&](const char* name, const QString& text, QWidget* column) {
        auto* label = new QLabel(text, captions);
        label->setObjectName(QLatin1String(name));
        if (column->maximumWidth() < QWIDGETSIZE_MAX)
            label->setFixedWidth(column->maximumWidth());
        line->addWidget(label, column == m_rows[0].words ? 1 : 0);
    };
    caption("Label2", QStringLiteral("Open brackets"), m_rows[0].open);
    caption("Label5", QStringLiteral("Requested words"), m_rows[0].words);
    caption("Label4", QStringLiteral("Close brackets"), m_rows[0].close);
    line->addSpacing(m_rows[0].op->sizeHint().width());
    return captions;
}

void CriteriaGrid::buildRow(int i)
{
    Row& row = m_rows[i];
    row.strip = new QWidget(m_slider);
    row.strip->setObjectName(indexed("Picture1", i));

    row.open = new QLineEdit(row.strip);
    row.open->setObjectName(indexed("TextBrackets1", i));
    row.open->setValidator(new BracketOnlyValidator(OpenBracket, row.open));

    row.words = new QLineEdit(row.strip);
    row.words->setObjectName(indexed("TextFind1", i));

    row.color = new QLineEdit(row.strip);
    row.color->setObjectName(indexed("TextColor1", i));
    row.color->hide();

    row.close = new QLineEdit(row.strip);
    row.close->setObjectName(indexed("TextBrackets2", i));
    row.close->setValidator(new BracketOnlyValidator(CloseBracket, row.close));

    row.op = new QComboBox(row.strip);
    row.op->setObjectName(indexed("Combo1", i));
    row.op->addItems({QStringLiteral("And"), QStringLiteral("Or"), QStringLiteral("Not")});

    // Thirty boxes look alike to a screen reader: each says its column and row.
    const QString rowNo = QStringLiteral(", row ") + QString::number(i + 1);
    row.open->setAccessibleName(QStringLiteral("Open brackets") + rowNo);
    row.words->setAccessibleName(QStringLiteral("Requested words") + rowNo);
    row.close->setAccessibleName(QStringLiteral("Close brackets") + rowNo);
    row.op->setAccessibleName(QStringLiteral("Operator after row ") + QString::number(i + 1));

    // The bracket boxes are as wide as their captions; the operator joins this row to
    // the next one.
    const int bracketWidth = std::max(fontMetrics().horizontalAdvance(QStringLiteral("Close brackets")),
                                 fontMetrics().horizontalAdvance(QStringLiteral("Open brackets")))
        + 4;
    row.open->setFixedWidth(bracketWidth);
    row.close->setFixedWidth(bracketWidth);
    auto* line = new QHBoxLayout(row.strip);
    line->setContentsMargins(2, RowGap / 2, 2, RowGap - RowGap / 2);
    line->addWidget(row.open);
    line->addWidget(row.words, 1);
    line->addWidget(row.close);
    line->addWidget(row.op);

    const bool first = i == 0;
    for (QLineEdit* box : {row.open, row.words, row.close}) {
        box->setEnabled(first);
        box->installEventFilter(this);
        // Enter in any box of a row searches, as the "Search" button does.
        connect(box, &QLineEdit::returnPressed, this, &CriteriaGrid::searchRequested);
    }
    row.op->installEventFilter(this);
    connect(row.words, &QLineEdit::textChanged, this, [this, i] { wordsChanged(i); });
    connect(row.open, &QLineEdit::textChanged, this, &CriteriaGrid::UpdateSearchSummary);
    connect(row.close, &QLineEdit::textChanged, this, &CriteriaGrid::UpdateSearchSummary);
    connect(row.op, &QComboBox::currentIndexChanged, this, &CriteriaGrid::UpdateSearchSummary);
}

int CriteriaGrid::shownRowCount() const
{
    return m_window->height() / m_rowPitch;
}

int CriteriaGrid::firstShownRow() const
{
    return m_scroll->value();
}

void CriteriaGrid::fitWindow()
{
    const int shown = std::clamp(m_room->height() / m_rowPitch, 1, CriteriaRowCount);
    const int barWidth = m_scroll->sizeHint().width();
    const int width = m_room->width() - barWidth;
    // Only whole rows: the room below the last of them stays empty.
    m_window->setGeometry(0, 0, width, shown * m_rowPitch);
    m_slider->setFixedWidth(width);
    m_scroll->setGeometry(width, 0, barWidth, shown * m_rowPitch);
    m_scroll->setRange(0, CriteriaRowCount - shown);
    m_scroll->setPageStep(shown);
    m_scroll->setVisible(shown < CriteriaRowCount);
    scrollTo(m_scroll->value());
    if (QWidget* focused = focusWidget(); focused && rowOf(focused) >= 0)
        bringRowIntoView(rowOf(focused));
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
    m_slider->move(0, -value * m_rowPitch);
}

void CriteriaGrid::bringRowIntoView(int row)
{
    const int shown = std::max(1, shownRowCount());
    if (row < m_scroll->value())
        m_scroll->setValue(row);
    else if (row >= m_scroll->value() + shown)
        m_scroll->setValue(row - shown + 1);
}

int CriteriaGrid::rowOf(const QObject* control) const
{
    for (int i = 0; i < CriteriaRowCount; ++i) {
        const Row& r = m_rows[i];
        if (control == r.open || control == r.words || control == r.close || control == r.op
            || (control && r.op->isAncestorOf(qobject_cast<const QWidget*>(control))))
            return i;
    }
    return -1;
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
    if (watched == m_room && event->type() == QEvent::Resize)
        fitWindow();
    if (watched == m_window && event->type() == QEvent::Wheel) {
        // A notch of the wheel moves one row.
        const int notches = static_cast<QWheelEvent*>(event)->angleDelta().y() / 120;
        m_scroll->setValue(m_scroll->value() - notches);
        return true;
    }
    if (event->type() == QEvent::FocusIn && rowOf(watched) >= 0)
        bringRowIntoView(rowOf(watched));
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
        || key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab || key.key() == Qt::Key_Return
        || key.key() == Qt::Key_Enter)
        return false;
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QChar allowed = kind == BoxKind::Open ? OpenBracket : CloseBracket;
    return key.text() != QString(allowed);
}

} // namespace papyrant
