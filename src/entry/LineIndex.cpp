#include "entry/LineIndex.h"

#include <algorithm>

namespace papyrant {
namespace {

bool isBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

// Appends the starts of the lines after the one starting at `from`. Each start that
// follows a line break is offered to `known`; the scan stops when it answers true.
template <typename Known>
void scanLineStarts(QStringView text, qsizetype from, std::vector<qsizetype>& starts, Known known)
{
    const qsizetype length = text.size();
    qsizetype start = from;
    for (qsizetype i = from; i < length; ++i) {
        if (isBreak(text[i])) {
            if (text[i] == QLatin1Char('\r') && i + 1 < length && text[i + 1] == QLatin1Char('\n'))
                ++i;
            start = i + 1;
            starts.push_back(start);
            if (known(start))
                return;
        } else if (i + 1 - start >= LongestLine && !text[i].isHighSurrogate() && i + 1 < length
            && !isBreak(text[i + 1])) {
            start = i + 1;
            starts.push_back(start);
        }
    }
}

} // namespace

std::vector<qsizetype> indexLineStarts(QStringView text)
{
    std::vector<qsizetype> starts{0};
    scanLineStarts(text, 0, starts, [](qsizetype) { return false; });
    return starts;
}

int reindexLineStarts(
    std::vector<qsizetype>& starts, QStringView text, qsizetype start, qsizetype removed, qsizetype inserted)
{
    const qsizetype shift = inserted - removed;
    const qsizetype editedEnd = start + inserted;
    // The line before the edited one is scanned again too: the edit may join a CR at its
    // end to an LF, or take away the break that ended it.
    const auto edited = std::upper_bound(starts.begin(), starts.end(), start) - starts.begin() - 1;
    const int first = int(std::max<std::ptrdiff_t>(0, edited - 1));
    // Past a line break that lies wholly after the edit, the lines are the old ones moved
    // by the shift: what follows a break depends on nothing before it.
    std::vector<qsizetype> fresh;
    qsizetype resumed = -1;
    scanLineStarts(text, starts[first], fresh, [&](qsizetype next) {
        if (next - 1 < editedEnd)
            return false;
        resumed = next - shift;
        return true;
    });
    auto keptEnd = starts.end();
    if (resumed >= 0) {
        const auto same = std::lower_bound(starts.begin() + first + 1, starts.end(), resumed);
        if (same == starts.end() || *same != resumed) {
            starts = indexLineStarts(text); // cannot happen; a full index is always right
            return 0;
        }
        for (auto later = same + 1; later != starts.end(); ++later)
            *later += shift;
        keptEnd = same + 1;
    }
    const auto replaced = starts.erase(starts.begin() + first + 1, keptEnd);
    starts.insert(replaced, fresh.begin(), fresh.end());
    return first;
}

} // namespace papyrant
