#include "entry/TextView.h"

#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace papyrant {

TextView::TextView(QWidget* parent)
    : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    connect(document(), &QTextDocument::contentsChange, this, &TextView::followEdit);
}

void TextView::setModelText(QString text)
{
    m_ownChange = true;
    setPlainText(text);
    m_ownChange = false;
    m_model.setText(std::move(text));
    moveCursor(QTextCursor::Start);
}

TextModel& TextView::modelWithSelection()
{
    const QTextCursor cursor = textCursor();
    const qsizetype start = m_model.toModel(cursor.selectionStart());
    m_model.select(start, m_model.toModel(cursor.selectionEnd()) - start);
    return m_model;
}

QString TextView::selectedModelText()
{
    return modelWithSelection().selectedText();
}

void TextView::showModelSelection()
{
    QTextCursor cursor(document());
    cursor.setPosition(int(m_model.toView(m_model.selStart())));
    cursor.setPosition(int(m_model.toView(m_model.selStart() + m_model.selLength())), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void TextView::colourSelection(const QColor& colour)
{
    QTextCharFormat format;
    format.setForeground(colour);
    m_ownChange = true;
    textCursor().mergeCharFormat(format);
    m_ownChange = false;
}

void TextView::followEdit(int position, int /*removed*/, int added)
{
    if (m_ownChange)
        return;
    // The document may count its closing paragraph in both numbers; the lengths before and
    // after settle what really changed.
    const qsizetype newLength = document()->characterCount() - 1;
    const qsizetype oldLength = m_model.viewLength();
    const qsizetype inserted = std::clamp<qsizetype>(added, 0, std::max<qsizetype>(0, newLength - position));
    const qsizetype replaced = oldLength + inserted - newLength;
    QTextCursor range(document());
    range.setPosition(position);
    range.setPosition(int(position + inserted), QTextCursor::KeepAnchor);
    QString text = range.selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    m_model.applyViewEdit(position, replaced, text);
}

void TextView::mouseReleaseEvent(QMouseEvent* event)
{
    QPlainTextEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

} // namespace papyrant
