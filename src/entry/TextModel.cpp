#include "entry/TextModel.h"

#include <algorithm>

namespace papyrant {

void TextModel::setText(QString text)
{
    m_text = std::move(text);
    m_selStart = 0;
    m_selLength = 0;
}

void TextModel::setSelStart(qsizetype start)
{
    m_selStart = std::clamp<qsizetype>(start, 0, m_text.size());
    m_selLength = 0;
}

void TextModel::setSelLength(qsizetype length)
{
    m_selLength = std::clamp<qsizetype>(length, 0, m_text.size() - m_selStart);
}

void TextModel::select(qsizetype start, qsizetype length)
{
    setSelStart(start);
    setSelLength(length);
}

bool TextModel::find(QStringView pattern, qsizetype from, qsizetype to)
{
    const qsizetype end = to < 0 ? m_text.size() : std::min(to, m_text.size());
    from = std::max<qsizetype>(from, 0);
    if (pattern.isEmpty() || from >= end || end - from < pattern.size())
        return false;
    // Searching only the window keeps a missing label from scanning the rest of a long file.
    const qsizetype at = QStringView(m_text).mid(from, end - from).indexOf(pattern, 0, Qt::CaseSensitive);
    if (at < 0)
        return false;
    m_selStart = from + at;
    m_selLength = pattern.size();
    return true;
}

void TextModel::replace(qsizetype start, qsizetype length, const QString& text)
{
    start = std::clamp<qsizetype>(start, 0, m_text.size());
    m_text.replace(start, std::clamp<qsizetype>(length, 0, m_text.size() - start), text);
    select(m_selStart, m_selLength);
}

} // namespace papyrant
