#pragma once
// The tag maps that ship with the program, one per format with a public tag list: MEDLINE
// (PubMed), RIS and Web of Science. They are data (rule texts as saved maps write them) and
// are listed beside the maps a user saves in the labels file.

#include "formats/TagMap.h"

#include <vector>

namespace papyrant {

const std::vector<TagMap>& readyTagMaps();
// The ready-made map of a format; nullptr when it has none (the plain layouts).
const TagMap* readyTagMap(TaggedFormat format);
// The ready-made map of that name (letter case ignored); nullptr when there is none.
const TagMap* readyTagMapNamed(const QString& name);

} // namespace papyrant
