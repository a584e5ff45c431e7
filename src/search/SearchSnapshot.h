#pragma once
// What a search took at the moment it ran: its statement, the settings, the summary of the
// rows and the highlight words. Every page of that result reads the snapshot, so typing
// into the rows or changing the settings afterwards changes nothing on the pages until
// the next search.

#include "options/SearchOptions.h"
#include "search/QueryComposition.h"
#include "search/SearchItems.h"

#include <QString>

#include <array>
#include <optional>

namespace papyrant {

// Whether a highlight word must stand at the start and at the end of a word to be marked
// when whole words are searched: not on a side where the typed words had a wildcard
// ("*gen" finds "antigen", so its "gen" is marked there).
struct WordEdges {
    bool start = true;
    bool end = true;
    bool operator==(const WordEdges&) const = default;
};
using HighlightEdges = std::array<WordEdges, CriteriaRowCount>;

struct SearchSnapshot {
    QString statement; // as composed from the rows and settings
    std::optional<QString> prefilter; // the trigram index's MATCH expression, when the index can help
    SearchOptions options; // the settings: filters and sort for the header, fields and references for the blocks
    QString summary; // the one-line summary of the rows
    HighlightWords highlightWords; // marked on every page
    HighlightEdges highlightEdges{}; // entry i: the edges of highlight word i
};

// The snapshot of a search over the tidied rows (checked by CheckBrackets) with these settings.
SearchSnapshot takeSnapshot(const CriteriaRows& rows, const SearchOptions& options);

} // namespace papyrant
