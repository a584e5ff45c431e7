#include "entry/TextModel.h"

#include <algorithm>

namespace papyrant {

void TextModel::setText(QString text)
{
    m_text = std::move(text);
    m_selStart = 0;
    m_selLength = 0;
    indexLineBreaks();
}

void TextModel::indexLineBreaks()
{
    m_pairedLineFeeds.clear();
    const QStringView all(m_text);
    qsizetype from = 0;
    for (;;) {
        const qsizetype cr = all.indexOf(QLatin1Char('\r'), from);
        if (cr < 0 || cr + 1 >= all.size())
            break;
        if (all[cr + 1] == QLatin1Char('\n'))
            m_pairedLineFeeds.push_back(cr - qsizetype(m_pairedLineFeeds.size()));
        from = cr + 1;
    }
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

qsizetype TextModel::toModel(qsizetype viewPosition) const
{
    const auto before = std::lower_bound(m_pairedLineFeeds.begin(), m_pairedLineFeeds.end(), viewPosition);
    return viewPosition + (before - m_pairedLineFeeds.begin());
}

qsizetype TextModel::toView(qsizetype modelPosition) const
{
    // Pair k has its carriage return at model position m_pairedLineFeeds[k] + k.
    qsizetype low = 0;
    qsizetype high = qsizetype(m_pairedLineFeeds.size());
    while (low < high) {
        const qsizetype middle = (low + high) / 2;
        if (m_pairedLineFeeds[middle] + middle < modelPosition)
            low = middle + 1;
        else
            high = middle;
    }
    return modelPosition - low;
}

QString TextModel::viewRangeText(qsizetype viewStart, qsizetype viewEnd) const
{
    const qsizetype start = toModel(viewStart);
    return m_text.mid(start, toModel(viewEnd) - start);
}

void TextModel::applyViewEdit(qsizetype position, qsizetype removed, const QString& inserted)
{
    position = std::clamp<qsizetype>(position, 0, viewLength());
    removed = std::clamp<qsizetype>(removed, 0, viewLength() - position);
    // The replaced text in the view's own form: a CR LF pair and a lone CR show as one LF.
    const QString& after = inserted;
    const QString beforeView = viewRangeText(position, position + removed);
    QString beforeForm;
    beforeForm.reserve(removed);
    for (qsizetype i = 0; i < beforeView.size(); ++i) {
        const QChar c = beforeView[i];
        if (c == QLatin1Char('\r') && i + 1 < beforeView.size() && beforeView[i + 1] == QLatin1Char('\n'))
            continue;
        beforeForm += c == QLatin1Char('\r') ? QChar(QLatin1Char('\n')) : c;
    }
    const qsizetype shorter = std::min(beforeForm.size(), after.size());
    qsizetype same = 0;
    while (same < shorter && beforeForm[same] == after[same])
        ++same;
    qsizetype tail = 0;
    while (tail < shorter - same && beforeForm[beforeForm.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    if (same == beforeForm.size() && same == after.size())
        return; // nothing but formatting changed
    const qsizetype modelStart = toModel(position + same);
    const qsizetype modelEnd = toModel(position + removed - tail);
    m_text.replace(modelStart, modelEnd - modelStart, after.mid(same, after.size() - same - tail));
    indexLineBreaks();
    setSelStart(std::min(m_selStart, m_text.size()));
}

} // namespace papyrant
