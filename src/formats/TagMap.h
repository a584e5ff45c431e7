#pragma once
// A tag map says which tags of a tagged export fill which field: for each of the nine
// fields extraction fills (Title ... Abstract) a rule of tags, and for the source also the
// tags of volume, issue, first and last page, from which "Journal. Year;Volume(Issue):Pages"
// is composed. Applied to a record it gives the values extraction stores, through the same
// holders.

#include "core/RecordModel.h"
#include "formats/TaggedGrammar.h"

#include <QString>
#include <QStringList>

#include <array>

namespace papyrant {

// Where the values of a tag go: one of the nine fields (same index as the field catalogue),
// a part of the composed source, or nowhere.
enum class TagTarget {
    Unused = -1,
    Title = 0,
    Authors,
    Author_address,
    Source,
    Publishing_year,
    Keywords,
    Publication_type,
    Language,
    Abstract,
    Volume,
    Issue,
    FirstPage,
    LastPage
};
inline constexpr int TagTargetCount = 13;

// "Title" ... "Abstract" (the field's display name), "Source: volume", "Source: issue",
// "Source: first page", "Source: last page", "(not used)".
QString tagTargetName(TagTarget target);

struct TagRule {
    QStringList tags; // in the order they are preferred
    bool allTags = false; // the values of every listed tag, else those of the first the record holds
    bool operator==(const TagRule&) const = default;
};

// A rule as saved maps and the ready-made ones write it: "FAU | AU" takes the first tag the
// record holds, "MH + OT" takes all listed tags, "" none. Tags never hold "|" or "+".
QString ruleText(const TagRule& rule);
TagRule ruleFromText(QStringView text);

struct TagMap {
    QString name;
    TaggedFormat format = TaggedFormat::None; // the layout it was made for
    std::array<TagRule, TagTargetCount> rules; // by TagTarget

    TagRule& rule(TagTarget target) { return rules[std::size_t(target)]; }
    const TagRule& rule(TagTarget target) const { return rules[std::size_t(target)]; }
    bool operator==(const TagMap&) const = default;
};

// Columns Title ... Abstract and TitelS of the record, as extraction stores them:
// - authors, addresses, key words, types and languages: every value picked, joined by
//   "; ", repeats dropped (but for authors), and for types and languages no more whole
//   values than their holders keep; RIS type codes and language codes become names;
// - the year: the four-digit year of the first value that holds one;
// - the source: composed from its parts when the map has any;
// - title and source take the first value, the abstract joins its values with a blank;
// - each value through its holder ("XX_EmptyField_XX" when nothing is left).
// A record without title therefore has the marker in Title.
void mapTaggedRecord(const TagMap& map, const TaggedRecord& record, std::array<QString, ColumnCount>& row);

// The four-digit year a value holds ("1998///", "2019 Feb", "2003/05/12", "19850612"), or
// an empty text.
QString fourDigitYear(QStringView value);

} // namespace papyrant
