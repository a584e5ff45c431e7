// Web of Science tagged ("ISI tagged"): "AU Crooks, GE", a tag of two characters at the
// line start and one blank. A line of three blanks continues the last tag: in the lists of
// names, addresses and cited references each such line is a further value, elsewhere it
// continues the text. "ER" ends a record, "EF" the export; the FN and VR header lines are
// no part of any record. Reading goes on after EF, so exports joined into one file are
// read whole.

#include "formats/TaggedGrammar.h"

#include <array>

namespace papyrant {
namespace {

constexpr qsizetype ContinuationIndent = 3;

// The tags whose continuation lines are further values.
bool isListTag(QStringView tag)
{
    static constexpr std::array<char16_t[3], 10> ListTags{
        {u"AU", u"AF", u"BA", u"BF", u"BE", u"CA", u"GP", u"ED", u"C1", u"CR"}};
    for (const auto& list : ListTags) {
        if (tag == QStringView(list, 2))
            return true;
    }
    return false;
}

bool isTagLine(QStringView line)
{
    if (line.size() < 2 || !grammar::isCapital(line[0]) || !(grammar::isCapital(line[1]) || grammar::isDigit(line[1])))
        return false;
    // "TY  - " or "AU  - " of another format is no tag line here.
    return line.size() == 2 || (line[2] == QLatin1Char(' ') && (line.size() == 3 || line[3] != QLatin1Char(' ')));
}

class WosGrammar final : public TaggedGrammar {
public:
    TaggedFormat format() const override { return TaggedFormat::WebOfScience; }

    LineMeaning read(QStringView line, bool inRecord, QStringView lastTag) const override
    {
        if (!isTagLine(line)) {
            if (inRecord && grammar::startsWithBlanks(line, ContinuationIndent) && !grammar::isBlank(line))
                return {isListTag(lastTag) ? LineMeaning::FurtherValue : LineMeaning::Continues, lastTag,
                    grammar::valueFrom(line, 0)};
            return grammar::untaggedLine(line, inRecord, true);
        }
        const QStringView tag = line.first(2);
        const QStringView value = grammar::valueFrom(line, 2);
        const bool header = tag == u"FN" || tag == u"VR" || tag == u"EF";
        if (!inRecord)
            return header || tag == u"ER" ? LineMeaning{} : LineMeaning{LineMeaning::Starts, tag, value};
        if (tag == u"ER")
            return {LineMeaning::EndsWith, tag, value};
        if (header)
            return {LineMeaning::EndsBefore, {}, {}};
        return {tag == u"PT" ? LineMeaning::Starts : LineMeaning::Field, tag, value};
    }
};

} // namespace

const TaggedGrammar& webOfScienceGrammar()
{
    static const WosGrammar grammar;
    return grammar;
}

} // namespace papyrant
