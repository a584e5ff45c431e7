// MEDLINE, PubMed's text export: "AU  - Crooks GE", a tag of two to four capitals padded
// to four, then "- ". A line of six blanks continues the last value; a blank line ends the
// record, and every record starts at its "PMID- " line.

#include "formats/TaggedGrammar.h"

namespace papyrant {
namespace {

constexpr qsizetype ValueStart = 6;

// The length of the tag a MEDLINE tag line starts with, 0 when the line is no tag line.
qsizetype tagLength(QStringView line)
{
    if (line.size() < 5 || line[4] != QLatin1Char('-') || (line.size() > 5 && line[5] != QLatin1Char(' ')))
        return 0;
    qsizetype length = 0;
    while (length < 4 && grammar::isCapital(line[length]))
        ++length;
    if (length < 2)
        return 0;
    for (qsizetype i = length; i < 4; ++i) {
        if (line[i] != QLatin1Char(' '))
            return 0;
    }
    return length;
}

class MedlineGrammar final : public TaggedGrammar {
public:
    TaggedFormat format() const override { return TaggedFormat::Medline; }

    LineMeaning read(QStringView line, bool inRecord, QStringView) const override
    {
        const qsizetype length = tagLength(line);
        if (length == 0)
            return grammar::untaggedLine(line, inRecord, true);
        const QStringView tag = line.first(length);
        if (tag == u"PMID")
            return {LineMeaning::Starts, tag, grammar::valueFrom(line, ValueStart)};
        if (!inRecord)
            return {};
        return {LineMeaning::Field, tag, grammar::valueFrom(line, ValueStart)};
    }
};

} // namespace

const TaggedGrammar& medlineGrammar()
{
    static const MedlineGrammar grammar;
    return grammar;
}

} // namespace papyrant
