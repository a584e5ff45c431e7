// RIS: "AU  - Crooks, Gavin E.", a tag of a letter and a letter or digit, two blanks and
// "- ". Exporters differ, so a single blank, small letters and an empty value are taken as
// well. A record runs from "TY  - " to "ER  -"; a line without a tag continues the last
// value, and blank lines inside a record are skipped.

#include "formats/TaggedGrammar.h"

namespace papyrant {
namespace {

// Where the value of a RIS tag line starts, 0 when the line is no tag line.
qsizetype valueStart(QStringView line)
{
    if (line.size() < 4 || !grammar::isLetter(line[0]) || !(grammar::isLetter(line[1]) || grammar::isDigit(line[1])))
        return 0;
    qsizetype i = 2;
    while (i < 4 && i < line.size() && line[i] == QLatin1Char(' '))
        ++i;
    if (i == 2 || i >= line.size() || line[i] != QLatin1Char('-'))
        return 0;
    ++i;
    if (i < line.size() && line[i] != QLatin1Char(' '))
        return 0;
    return i;
}

class RisGrammar final : public TaggedGrammar {
public:
    TaggedFormat format() const override { return TaggedFormat::Ris; }

    LineMeaning read(QStringView line, bool inRecord, QStringView) const override
    {
        const qsizetype start = valueStart(line);
        if (start == 0)
            return grammar::untaggedLine(line, inRecord, false);
        const QStringView tag = line.first(2);
        const QStringView value = grammar::valueFrom(line, start);
        if (tag.compare(u"TY", Qt::CaseInsensitive) == 0)
            return {LineMeaning::Starts, tag, value};
        if (!inRecord)
            return {};
        if (tag.compare(u"ER", Qt::CaseInsensitive) == 0)
            return {LineMeaning::EndsWith, tag, value};
        return {LineMeaning::Field, tag, value};
    }
};

} // namespace

const TaggedGrammar& risGrammar()
{
    static const RisGrammar grammar;
    return grammar;
}

} // namespace papyrant
