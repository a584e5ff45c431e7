#include "entry/TextView.h"

#include "entry/LineIndex.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace papyrant {
namespace {

constexpr int Margin = 4;

} // namespace

TextView::TextView(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

TextView::~TextView() = default;

void TextView::setModelText(QString text)
{
    m_model.setText(std::move(text));
    m_marks.clear();
    m_undo.clear();
    m_anchor = m_caret = 0;
    indexLines();
    invalidateLayouts();
    updateScrollRange();
    verticalScrollBar()->setValue(0);
    viewport()->update();
}

TextModel& TextView::modelWithSelection()
{
    m_model.select(selectionStart(), selectionEnd() - selectionStart());
    return m_model;
}

QString TextView::selectedModelText()
{
    return modelWithSelection().selectedText();
}

void TextView::showModelSelection()
{
    select(m_model.selStart(), m_model.selLength());
}

void TextView::select(qsizetype start, qsizetype length)
{
    m_anchor = std::clamp<qsizetype>(start, 0, m_model.length());
    m_caret = std::clamp<qsizetype>(start + length, m_anchor, m_model.length());
    ensureCaretVisible();
    viewport()->update();
}

void TextView::selectAll()
{
    m_anchor = 0;
    m_caret = m_model.length();
    viewport()->update();
}

void TextView::colourSelection(const QColor& colour)
{
    if (selectionEnd() > selectionStart())
        m_marks.push_back({selectionStart(), selectionEnd(), colour});
    viewport()->update();
}

QColor TextView::colourAt(qsizetype position) const
{
    for (auto mark = m_marks.rbegin(); mark != m_marks.rend(); ++mark) {
        if (position >= mark->start && position < mark->end)
            return mark->colour;
    }
    return {};
}

// Lines and their layouts.

void TextView::indexLines()
{
    m_lineStarts = indexLineStarts(m_model.text());
}

int TextView::lineOf(qsizetype position) const
{
    return int(std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), position) - m_lineStarts.begin()) - 1;
}

qsizetype TextView::lineTextEnd(int line) const
{
    if (line + 1 >= lineCount())
        return m_model.length();
    // The line ends where the next begins, less its line break when it has one.
    const QString& text = m_model.text();
    const qsizetype start = m_lineStarts[line];
    qsizetype end = m_lineStarts[line + 1];
    if (end > start && text[end - 1] == QLatin1Char('\n')) {
        --end;
        if (end > start && text[end - 1] == QLatin1Char('\r'))
            --end;
    } else if (end > start && text[end - 1] == QLatin1Char('\r')) {
        --end;
    }
    return end;
}

std::shared_ptr<QTextLayout> TextView::layoutOf(int line) const
{
    if (auto found = m_layouts.find(line); found != m_layouts.end())
        return found->second;
    if (m_layouts.size() > 512)
        m_layouts.clear();
    auto layout = std::make_shared<QTextLayout>(
        m_model.text().mid(lineStart(line), lineTextEnd(line) - lineStart(line)), font(), viewport());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    const qreal width = std::max(20, viewport()->width() - 2 * Margin);
    qreal height = 0;
    layout->beginLayout();
    for (QTextLine row = layout->createLine(); row.isValid(); row = layout->createLine()) {
        row.setLineWidth(width);
        row.setPosition(QPointF(0, height));
        height += row.height();
    }
    layout->endLayout();
    m_layouts.emplace(line, layout);
    return layout;
}

const std::vector<TextView::Placed>& TextView::placedLines() const
{
    if (m_placedValid)
        return m_placed;
    m_placed.clear();
    int top = Margin;
    for (int line = verticalScrollBar()->value(); line < lineCount() && top < viewport()->height(); ++line) {
        auto layout = layoutOf(line);
        m_placed.push_back({line, top, layout});
        top += int(std::ceil(layout->boundingRect().height()));
    }
    m_placedValid = true;
    return m_placed;
}

void TextView::invalidateLayouts()
{
    m_layouts.clear();
    m_placedValid = false;
}

void TextView::updateScrollRange()
{
    const int lines = std::max(1, viewport()->height() / std::max(1, fontMetrics().lineSpacing()));
    // A text that fits needs no scrolling; otherwise any line may be the top one.
    bool fits = lineCount() <= lines;
    if (fits) {
        int height = Margin;
        for (int line = 0; line < lineCount() && fits; ++line) {
            height += int(std::ceil(layoutOf(line)->boundingRect().height()));
            fits = height <= viewport()->height();
        }
    }
    verticalScrollBar()->setRange(0, fits ? 0 : lineCount() - 1);
    verticalScrollBar()->setPageStep(lines);
}

void TextView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const qsizetype from = selectionStart();
    const qsizetype to = selectionEnd();
    const int caretLine = lineOf(m_caret);
    QTextCharFormat selected;
    selected.setBackground(palette().brush(QPalette::Highlight));
    selected.setForeground(palette().brush(QPalette::HighlightedText));
    for (const Placed& placed : placedLines()) {
        const qsizetype start = lineStart(placed.line);
        const qsizetype end = lineTextEnd(placed.line);
        QList<QTextLayout::FormatRange> formats;
        auto add = [&](qsizetype first, qsizetype last, const QTextCharFormat& format) {
            first = std::max(first, start);
            last = std::min(last, end);
            if (last > first)
                formats.append({int(first - start), int(last - first), format});
        };
        for (const Mark& mark : m_marks) {
            if (mark.end <= start || mark.start >= end)
                continue;
            QTextCharFormat format;
            format.setForeground(mark.colour);
            add(mark.start, mark.end, format);
        }
        add(from, to, selected);
        placed.layout->draw(&painter, QPointF(Margin, placed.top), formats);
        if (hasFocus() && placed.line == caretLine)
            placed.layout->drawCursor(&painter, QPointF(Margin, placed.top), int(m_caret - start));
    }
}

void TextView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    invalidateLayouts();
    updateScrollRange();
}

void TextView::scrollContentsBy(int, int)
{
    m_placedValid = false;
    viewport()->update();
}

// Positions.

qsizetype TextView::positionAt(const QPoint& point) const
{
    const auto& placed = placedLines();
    if (placed.empty())
        return 0;
    for (const Placed& line : placed) {
        const qreal bottom = line.top + line.layout->boundingRect().height();
        if (point.y() >= bottom && &line != &placed.back())
            continue;
        const qreal y = point.y() - line.top;
        for (int i = 0; i < line.layout->lineCount(); ++i) {
            const QTextLine row = line.layout->lineAt(i);
            if (y < row.y() + row.height() || i == line.layout->lineCount() - 1)
                return lineStart(line.line) + row.xToCursor(point.x() - Margin);
        }
    }
    return m_model.length();
}

qsizetype TextView::nextPosition(qsizetype position) const
{
    const QString& text = m_model.text();
    if (position >= text.size())
        return text.size();
    if (position + 1 < text.size()
        && ((text[position] == QLatin1Char('\r') && text[position + 1] == QLatin1Char('\n'))
            || (text[position].isHighSurrogate() && text[position + 1].isLowSurrogate())))
        return position + 2;
    return position + 1;
}

qsizetype TextView::previousPosition(qsizetype position) const
{
    const QString& text = m_model.text();
    if (position <= 0)
        return 0;
    if (position >= 2
        && ((text[position - 2] == QLatin1Char('\r') && text[position - 1] == QLatin1Char('\n'))
            || (text[position - 2].isHighSurrogate() && text[position - 1].isLowSurrogate())))
        return position - 2;
    return position - 1;
}

qsizetype TextView::verticalMove(qsizetype position, int lines) const
{
    const int direction = lines < 0 ? -1 : 1;
    for (int step = 0; step < std::abs(lines); ++step) {
        const int line = lineOf(position);
        const auto layout = layoutOf(line);
        const int column = int(position - lineStart(line));
        const QTextLine row = layout->lineForTextPosition(column);
        const qreal x = row.cursorToX(column);
        const int target = row.lineNumber() + direction;
        if (target >= 0 && target < layout->lineCount()) {
            position = lineStart(line) + layout->lineAt(target).xToCursor(x);
        } else if (direction < 0) {
            if (line == 0)
                return 0;
            const auto above = layoutOf(line - 1);
            position = lineStart(line - 1) + above->lineAt(above->lineCount() - 1).xToCursor(x);
        } else {
            if (line + 1 >= lineCount())
                return m_model.length();
            position = lineStart(line + 1) + layoutOf(line + 1)->lineAt(0).xToCursor(x);
        }
    }
    return position;
}

qsizetype TextView::visualLineEdge(qsizetype position, bool end) const
{
    const int line = lineOf(position);
    const QTextLine row = layoutOf(line)->lineForTextPosition(int(position - lineStart(line)));
    return lineStart(line) + row.textStart() + (end ? row.textLength() : 0);
}

void TextView::moveCaret(qsizetype position, bool keepAnchor)
{
    m_caret = std::clamp<qsizetype>(position, 0, m_model.length());
    if (!keepAnchor)
        m_anchor = m_caret;
    ensureCaretVisible();
    viewport()->update();
}

void TextView::ensureCaretVisible()
{
    const int line = lineOf(m_caret);
    QScrollBar* bar = verticalScrollBar();
    if (line < bar->value()) {
        bar->setValue(line);
        return;
    }
    for (;;) {
        const auto& placed = placedLines();
        int lastWhole = bar->value();
        for (const Placed& p : placed) {
            if (p.top + p.layout->boundingRect().height() <= viewport()->height())
                lastWhole = p.line;
        }
        if (line <= lastWhole || bar->value() >= bar->maximum())
            return;
        bar->setValue(bar->value() + std::max(1, line - lastWhole));
    }
}

// Editing.

QString TextView::lineBreak() const
{
    const QString& text = m_model.text();
    const qsizetype first = text.indexOf(QLatin1Char('\n'));
    return first > 0 && text[first - 1] == QLatin1Char('\r') ? QStringLiteral("\r\n") : QStringLiteral("\n");
}

void TextView::replaceSelection(const QString& text, bool remember)
{
    const qsizetype start = selectionStart();
    const qsizetype end = selectionEnd();
    if (start == end && text.isEmpty())
        return;
    if (remember) {
        if (m_undo.size() >= 200)
            m_undo.erase(m_undo.begin());
        m_undo.push_back({start, m_model.text().mid(start, end - start), text});
    }
    m_model.replace(start, end - start, text);
    // Marks keep to their characters: the parts outside the replaced text stay.
    const qsizetype shift = text.size() - (end - start);
    std::vector<Mark> kept;
    for (const Mark& mark : m_marks) {
        if (mark.start < start)
            kept.push_back({mark.start, std::min(mark.end, start), mark.colour});
        if (mark.end > end)
            kept.push_back({std::max(mark.start, end) + shift, mark.end + shift, mark.colour});
    }
    m_marks = std::move(kept);
    m_anchor = m_caret = start + text.size();
    // Lines above the edited one keep their index and their layouts.
    const int firstChanged = reindexLineStarts(m_lineStarts, m_model.text(), start, end - start, text.size());
    m_layouts.erase(m_layouts.lower_bound(firstChanged), m_layouts.end());
    m_placedValid = false;
    updateScrollRange();
    ensureCaretVisible();
    viewport()->update();
}

void TextView::undo()
{
    if (m_undo.empty())
        return;
    const Edit edit = m_undo.back();
    m_undo.pop_back();
    m_anchor = edit.position;
    m_caret = edit.position + edit.inserted.size();
    replaceSelection(edit.removed, false);
}

void TextView::copy() const
{
    if (selectionEnd() > selectionStart())
        QGuiApplication::clipboard()->setText(m_model.text().mid(selectionStart(), selectionEnd() - selectionStart()));
}

// Mouse and keyboard.

void TextView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    m_dragging = true;
    moveCaret(positionAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void TextView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging)
        return;
    const QPoint point = event->position().toPoint();
    // Dragging past the edge scrolls.
    if (point.y() < 0)
        verticalScrollBar()->setValue(verticalScrollBar()->value() - 1);
    else if (point.y() > viewport()->height())
        verticalScrollBar()->setValue(verticalScrollBar()->value() + 1);
    m_caret = positionAt(point);
    viewport()->update();
}

void TextView::mouseReleaseEvent(QMouseEvent* event)
{
    QAbstractScrollArea::mouseReleaseEvent(event);
    m_dragging = false;
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

void TextView::mouseDoubleClickEvent(QMouseEvent* event)
{
    const QString& text = m_model.text();
    qsizetype start = positionAt(event->position().toPoint());
    qsizetype end = start;
    while (start > 0 && text[start - 1].isLetterOrNumber())
        --start;
    while (end < text.size() && text[end].isLetterOrNumber())
        ++end;
    m_anchor = start;
    m_caret = end;
    viewport()->update();
}

void TextView::keyPressEvent(QKeyEvent* event)
{
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const bool hasSelection = m_anchor != m_caret;
    if (event->matches(QKeySequence::SelectAll))
        return selectAll();
    if (event->matches(QKeySequence::Copy))
        return copy();
    if (event->matches(QKeySequence::Cut)) {
        copy();
        return replaceSelection(QString());
    }
    if (event->matches(QKeySequence::Paste))
        return replaceSelection(QGuiApplication::clipboard()->text());
    if (event->matches(QKeySequence::Undo))
        return undo();
    const int page = std::max(1, verticalScrollBar()->pageStep() - 1);
    switch (event->key()) {
    case Qt::Key_Left: return moveCaret(hasSelection && !extend ? selectionStart() : previousPosition(m_caret), extend);
    case Qt::Key_Right: return moveCaret(hasSelection && !extend ? selectionEnd() : nextPosition(m_caret), extend);
    case Qt::Key_Up: return moveCaret(verticalMove(m_caret, -1), extend);
    case Qt::Key_Down: return moveCaret(verticalMove(m_caret, 1), extend);
    case Qt::Key_PageUp: return moveCaret(verticalMove(m_caret, -page), extend);
    case Qt::Key_PageDown: return moveCaret(verticalMove(m_caret, page), extend);
    case Qt::Key_Home:
        return moveCaret(event->modifiers() & Qt::ControlModifier ? 0 : visualLineEdge(m_caret, false), extend);
    case Qt::Key_End:
        return moveCaret(
            event->modifiers() & Qt::ControlModifier ? m_model.length() : visualLineEdge(m_caret, true), extend);
    case Qt::Key_Backspace:
        if (!hasSelection)
            m_anchor = previousPosition(m_caret);
        return replaceSelection(QString());
    case Qt::Key_Delete:
        if (!hasSelection)
            m_anchor = nextPosition(m_caret);
        return replaceSelection(QString());
    case Qt::Key_Return:
    case Qt::Key_Enter: return replaceSelection(lineBreak());
    default: break;
    }
    const QString typed = event->text();
    if (!typed.isEmpty() && (typed.front().isPrint() || typed == QLatin1String("\t")))
        return replaceSelection(typed);
    QAbstractScrollArea::keyPressEvent(event);
}

void TextView::inputMethodEvent(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty())
        replaceSelection(event->commitString());
    event->accept();
}

QVariant TextView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImEnabled)
        return true;
    if (query == Qt::ImCursorRectangle) {
        for (const Placed& placed : placedLines()) {
            if (placed.line == lineOf(m_caret)) {
                const int column = int(m_caret - lineStart(placed.line));
                const QTextLine row = placed.layout->lineForTextPosition(column);
                return QRect(int(Margin + row.cursorToX(column)), int(placed.top + row.y()), 1, int(row.height()));
            }
        }
        return QRect();
    }
    return QAbstractScrollArea::inputMethodQuery(query);
}

void TextView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    const bool hasSelection = m_anchor != m_caret;
    menu.addAction(tr("Undo"), this, &TextView::undo)->setEnabled(!m_undo.empty());
    menu.addSeparator();
    menu.addAction(tr("Cut"), this,
            [this] {
                copy();
                replaceSelection(QString());
            })
        ->setEnabled(hasSelection);
    menu.addAction(tr("Copy"), this, &TextView::copy)->setEnabled(hasSelection);
    menu.addAction(tr("Paste"), this, [this] { replaceSelection(QGuiApplication::clipboard()->text()); });
    menu.addSeparator();
    menu.addAction(tr("Select All"), this, &TextView::selectAll);
    menu.exec(event->globalPos());
}

void TextView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void TextView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

} // namespace papyrant
