#pragma once
// What the criteria rows say, as plain values: the one-line summary under the grid and
// the highlight words a search marks in its results. Both follow from the rows alone,
// so the results screen reads them without asking any box.

#include "search/QueryComposition.h"

#include <QString>

#include <array>

namespace papyrant {

using HighlightWords = std::array<QString, CriteriaRowCount>;

// Row 0 can always be typed into; every other row while the row above holds words.
bool rowSwitchedOn(const CriteriaRows& rows, int i);

// The summary of the switched-on rows: brackets and words of each, and the operator to
// the next row when that row holds words ("((gene Or virus) And cell)").
QString searchSummary(const CriteriaRows& rows);

// The rows as a search leaves them: every switched-off row emptied (its operator kept),
// so the rows with words form one unbroken run from row 0.
CriteriaRows tidiedRows(CriteriaRows rows);

// A row's words without the pattern stars and question marks at either end, which the
// text of a record does not hold ("**gen?" gives "gen").
QString highlightWord(const QString& words);

// The highlight word of every row; rows without words give an empty word.
HighlightWords highlightWords(const CriteriaRows& rows);

} // namespace papyrant
