#pragma once
// Turning the criteria rows and the search options into one statement over Abstracts.
// Pure text work: plain values in, text out, so it is tested without any screen.

#include "options/SearchOptions.h"

#include <QString>

#include <array>
#include <optional>

namespace papyrant {

inline constexpr int CriteriaRowCount = 10;

// One criteria row as the grid holds it.
struct CriteriaRow {
    QString openBrackets; // "(" characters
    QString words; // the requested words, used verbatim (Like patterns allowed)
    QString op = QStringLiteral("And"); // "And", "Or" or "Not": stands between this row and the next
    QString closeBrackets; // ")" characters
    bool operator==(const CriteriaRow&) const = default;
};
using CriteriaRows = std::array<CriteriaRow, CriteriaRowCount>;

// The columns a search can look in, in the order of the "Search at" list
// ("Title", "Authors", "Author_address", "Source", "Keywords", "Publication_type", "Abstract").
const std::array<QString, SearchableColumnCount>& searchableColumnNames();

// Counts the brackets of the rows that hold words. Nothing when they pair up; otherwise
// the message the user sees ("Incorrect number of brackets" LF "You have 2 less close brackets").
std::optional<QString> CheckBrackets(const CriteriaRows& rows);

// The statement for the rows and options; call it only after CheckBrackets found the
// rows balanced. Every word, year, language and category goes between quotes with its
// own quotes doubled.
QString ComposeQuery(const CriteriaRows& rows, const SearchOptions& options);

// The trigram index's MATCH expression for the rows and options (see TrigramIndex.h):
// only when every row with words must hold them, that is the rows are joined by And and
// none is negated. Nothing otherwise: the search then reads every record.
std::optional<QString> TrigramPrefilter(const CriteriaRows& rows, const SearchOptions& options);

} // namespace papyrant
