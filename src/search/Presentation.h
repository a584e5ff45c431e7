#pragma once
// One page of search results as text: a bold header that repeats the search, a block per
// record with the requested fields and an optional literature reference, and the colour
// marks of the search words and field labels. Pure: the screen puts the text and marks
// into its results box, and output works from the same text.

#include "core/RecordModel.h"
#include "search/ColourMarks.h"
#include "search/SearchSnapshot.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace papyrant {

class RecordSet;

inline constexpr int PageSize = 50;

enum class MarkColour { Red, Blue, Black };

// A change of format over a stretch of the page; an empty part leaves that property as
// it is. Marks apply in list order, later ones over earlier ones.
struct TextMark {
    int start = 0;
    int length = 0;
    std::optional<MarkColour> colour;
    std::optional<bool> bold;
    bool operator==(const TextMark&) const = default;
};

// A stretch of the page in one colour and weight, as the marks leave it.
struct FormatRun {
    int start = 0;
    int length = 0;
    MarkColour colour = MarkColour::Black;
    bool bold = false;
    bool operator==(const FormatRun&) const = default;
};

// The text of the given length cut into runs of one format each, after the marks applied
// in order over black, regular text; neighbouring runs differ. Putting these runs into a
// text box gives the same page as applying every mark in turn, at a fraction of the cost.
std::vector<FormatRun> formatRuns(int textLength, const std::vector<TextMark>& marks);
// The runs as the colour marks a saved file is written with.
ColourMarks colourMarks(const std::vector<FormatRun>& runs);

struct PresentedPage {
    QString text;
    int headerLength = 0;
    // Entry k: characters of the record part after block k; entry 0 is 0.
    std::vector<int> recordEnds{0};
    std::vector<TextMark> marks;
    int firstRecordNo = 0; // number of the record before the first block (page x 50)

    int blockCount() const { return static_cast<int>(recordEnds.size()) - 1; }
};

// Builds page `page` (from 0) of the record set, as the search's snapshot says. The set is
// skipped forward to the page, never read before it, and is left on the record that was
// current before.
PresentedPage PresentPage(RecordSet& records, int page, int resultCount, const SearchSnapshot& settings);

// The header: "Search items :  " and the summary, the language, years and sort lines
// that apply, and "This search revealed N records" ("no" for none), then the separator.
QString pageHeader(int resultCount, const SearchSnapshot& settings);

// The reference of a record: "Authors (year). Title, Source." with a fallback for each
// missing part, line breaks as blanks and one pass that turns blank pairs into one.
QString recordReference(const QString& authors, const QString& year, const QString& title, const QString& source);

// Adds a mark of the colour for every occurrence of the word in the text, found without
// regard to letter case, each search going on after the previous find: anywhere, or with
// edges only where it stands as a word on those sides, as a whole-word search finds it.
// Gives the number of occurrences. An empty word has none.
int ColourOccurrences(const QString& text, const QString& word, MarkColour colour, std::vector<TextMark>& marks,
    std::optional<WordEdges> edges = std::nullopt);

// The pages of a result: "From 1 to 50", "From 51 to 100", ...; "Record 0 of 0" for none.
QStringList pageList(int resultCount);

// The record a caret position stands in (page x 50 + block), 0 in the header or past
// the last block.
int recordUnderCaret(int caret, int headerLength, const std::vector<int>& recordEnds, int page);

// The notice shown while a page is built ("Getting records From 51 to 100" under two
// empty lines), and the output buttons' tool tips for the chosen page.
QString pageNotice(const QString& pageItem, bool savingAll);
QString printToolTip(const QString& pageItem);
QString saveToolTip(const QString& pageItem);
// The copy button's tool tip, as the mouse finds it: "Copy selected text" while text is
// selected, otherwise "Copy viewed records, " and the page.
QString copyToolTip(bool textSelected, const QString& pageItem);

} // namespace papyrant
