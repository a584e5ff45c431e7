#include "search/SearchSnapshot.h"

namespace papyrant {

SearchSnapshot takeSnapshot(const CriteriaRows& rows, const SearchOptions& options)
{
    HighlightEdges edges;
    auto isWildcard = [](QChar c) { return c == QLatin1Char('*') || c == QLatin1Char('?'); };
    for (int i = 0; i < CriteriaRowCount; ++i) {
        const QString& words = rows[i].words;
        edges[i] = {words.isEmpty() || !isWildcard(words.front()), words.isEmpty() || !isWildcard(words.back())};
    }
    return {ComposeQuery(rows, options), TrigramPrefilter(rows, options), options, searchSummary(rows),
        highlightWords(rows), edges};
}

} // namespace papyrant
