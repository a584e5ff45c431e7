#include "search/SearchSnapshot.h"

namespace papyrant {

SearchSnapshot takeSnapshot(const CriteriaRows& rows, const SearchOptions& options)
{
    return {ComposeQuery(rows, options), options, searchSummary(rows), highlightWords(rows)};
}

} // namespace papyrant
