#pragma once
// A tag map proposed for the open file, for the "Tag map" dialog: every tag the export
// holds, how often, a sample value, and the field it seems to fill. A format with a
// ready-made map gets that map's choices; for any other layout the field is judged from the
// tag (tags and labels services commonly use) and from its values: four-digit years, long
// texts, lists of names, short values that repeat.

#include "formats/TagMap.h"

#include <QStringView>

#include <vector>

namespace papyrant {

struct TagUse {
    QString tag;
    int values = 0; // how often the tag occurs
    int records = 0; // how many records hold it
    QString sample; // its first value that is not empty, cut to 200 characters
    TagTarget target = TagTarget::Unused; // proposed, then as the user chose
};

// The tags of the text's records in the order they first occur, each with its proposal.
std::vector<TagUse> proposeTagMap(QStringView text, TaggedFormat format);

// The uses with the fields `map` gives their tags; a tag it does not name is not used. So a
// map chosen before shows in the dialog as it reads this text.
void followTagMap(std::vector<TagUse>& uses, const TagMap& map);

// The map the choices make. A field takes its tags in the listed order: key words and
// addresses the values of all of them, any other field those of the first tag a record holds.
// Where `preferred` (else the format's ready-made map) puts one tag of a field before
// another, so does the new map.
TagMap tagMapFromUses(const std::vector<TagUse>& uses, TaggedFormat format, const TagMap* preferred = nullptr);

} // namespace papyrant
