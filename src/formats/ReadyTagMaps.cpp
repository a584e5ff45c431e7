#include "formats/ReadyTagMaps.h"

namespace papyrant {
namespace {

// Rules by TagTarget: Title, Authors, Author address, Source, Publishing year, Key words,
// Publication type, Language, Abstract, then the source's volume, issue, first and last page.
struct ReadyMapText {
    const char* name;
    TaggedFormat format;
    std::array<const char*, TagTargetCount> rules;
};

const ReadyMapText ReadyMaps[] = {
    // PubMed's SO line is already "Journal. Year Month;Volume(Issue):Pages"; the full author
    // names (FAU) are missing from older records, which have AU alone.
    {"MEDLINE (PubMed)", TaggedFormat::Medline,
        {"TI", "FAU | AU", "AD", "SO", "DP", "MH + OT", "PT", "LA", "AB", "", "", "", ""}},
    // Exporters write the title as TI or T1, the authors as AU or A1, the year as PY, Y1 or
    // DA, the journal as T2, JO, JF or JA, the abstract as AB or N2.
    {"RIS", TaggedFormat::Ris,
        {"TI | T1 | CT", "AU | A1", "AD", "T2 | JO | JF | JA", "PY | Y1 | DA", "KW", "TY", "LA", "AB | N2", "VL", "IS",
            "SP", "EP"}},
    // Full author names (AF) where the record has them; author key words and Keywords Plus.
    {"Web of Science", TaggedFormat::WebOfScience,
        {"TI", "AF | AU", "C1", "SO", "PY", "DE + ID", "DT", "LA", "AB", "VL", "IS", "BP", "EP"}},
};

} // namespace

const std::vector<TagMap>& readyTagMaps()
{
    static const std::vector<TagMap> maps = [] {
        std::vector<TagMap> made;
        for (const ReadyMapText& text : ReadyMaps) {
            TagMap map;
            map.name = QString::fromLatin1(text.name);
            map.format = text.format;
            for (int i = 0; i < TagTargetCount; ++i)
                map.rules[std::size_t(i)] = ruleFromText(QString::fromLatin1(text.rules[std::size_t(i)]));
            made.push_back(std::move(map));
        }
        return made;
    }();
    return maps;
}

const TagMap* readyTagMap(TaggedFormat format)
{
    for (const TagMap& map : readyTagMaps()) {
        if (map.format == format)
            return &map;
    }
    return nullptr;
}

const TagMap* readyTagMapNamed(const QString& name)
{
    for (const TagMap& map : readyTagMaps()) {
        if (map.name.compare(name, Qt::CaseInsensitive) == 0)
            return &map;
    }
    return nullptr;
}

} // namespace papyrant
