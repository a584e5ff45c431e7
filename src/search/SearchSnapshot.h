#pragma once
// What a search took at the moment it ran: its statement, the settings, the summary of the
// rows and the highlight words. Every page of that result reads the snapshot, so typing
// into the rows or changing the settings afterwards changes nothing on the pages until
// the next search.

#include "options/SearchOptions.h"
#include "search/QueryComposition.h"
#include "search/SearchItems.h"

#include <QString>

namespace papyrant {

struct SearchSnapshot {
    QString statement; // as composed from the rows and settings
    SearchOptions options; // the settings: filters and sort for the header, fields and references for the blocks
    QString summary; // the one-line summary of the rows
    HighlightWords highlightWords; // marked on every page
};

// The snapshot of a search over the tidied rows (checked by CheckBrackets) with these settings.
SearchSnapshot takeSnapshot(const CriteriaRows& rows, const SearchOptions& options);

} // namespace papyrant
