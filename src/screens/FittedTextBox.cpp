#include "screens/FittedTextBox.h"

#include "core/RecordModel.h"

#include <QEvent>
#include <QTextBlock>
#include <QTextLayout>

#include <cmath>

namespace papyrant {

FittedTextBox::FittedTextBox(LineRange lines, QWidget* parent)
    : QPlainTextEdit(parent)
    , m_lines(lines)
{
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(this, &QPlainTextEdit::textChanged, this, &FittedTextBox::fitHeight);
    fitHeight();
}

int FittedTextBox::wrappedLineCount() const
{
    // Laid out as the box lays out its text: the same font, options and width.
    const qreal width = viewport()->width() - 2 * document()->documentMargin();
    const QTextOption option = document()->defaultTextOption();
    int lines = 0;
    for (QTextBlock block = document()->begin(); block.isValid() && lines <= m_lines.most; block = block.next()) {
        QTextLayout layout(block.text(), font());
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid() && lines <= m_lines.most;
             line = layout.createLine()) {
            line.setLineWidth(std::max<qreal>(1, width));
            ++lines;
        }
        layout.endLayout();
    }
    return std::max(lines, 1);
}

int FittedTextBox::heightFor(int lines) const
{
    // One line as the box's layout stacks them, leading included and rounded as it rounds.
    QTextLayout probe(QStringLiteral("X"), font());
    probe.beginLayout();
    QTextLine line = probe.createLine();
    line.setLeadingIncluded(true);
    probe.endLayout();
    // The document's margin above and below, and the pixel the box keeps free under its
    // last line before it counts a line as hidden.
    const qreal text = lines * line.height() + 2 * document()->documentMargin() + 1;
    const QMargins margins = contentsMargins();
    return static_cast<int>(std::ceil(text)) + margins.top() + margins.bottom();
}

void FittedTextBox::fitHeight()
{
    const int lines = std::clamp(wrappedLineCount(), m_lines.fewest, m_lines.most);
    if (lines == m_shown && height() == heightFor(lines))
        return;
    m_shown = lines;
    setFixedHeight(heightFor(lines));
}

void FittedTextBox::resizeEvent(QResizeEvent* event)
{
    QPlainTextEdit::resizeEvent(event);
    // A new width wraps the text anew.
    fitHeight();
}

void FittedTextBox::changeEvent(QEvent* event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitHeight();
}

LineRange fieldBoxLines(int field)
{
    switch (field) {
    case Title: return {2, 4};
    case Authors: return {2, 5};
    case Keywords: return {2, 5};
    case Abstract: return {6, 14};
    case Personal: return {2, 6};
    case Publishing_year:
    case Entry_Date: return {1, 1};
    default: return {1, 3};
    }
}

} // namespace papyrant
