// The plain tagged layouts of services no ready-made map knows, records separated by blank
// lines: Refer ("%A Crooks, G."), "TAG - value" ("AU - Crooks") and "Label: value"
// ("Authors: Crooks, G."). Any tag line outside a record begins one, so a separator line
// such as "Record 2 of 50" is passed over; any other line inside a record continues the
// last value. Tags are kept as written.

#include "formats/TaggedGrammar.h"

namespace papyrant {
namespace {

constexpr qsizetype LongestLabel = 40;

// "%A value": a percent sign and one character.
qsizetype referTagLength(QStringView line)
{
    if (line.size() < 2 || line[0] != QLatin1Char('%') || line[1].isSpace())
        return 0;
    return line.size() == 2 || line[2] == QLatin1Char(' ') ? 2 : 0;
}

// "TAG - value" or "TAGS- value": a letter and one to three letters or digits, blanks, "- ".
qsizetype dashTagLength(QStringView line)
{
    if (line.isEmpty() || !grammar::isLetter(line[0]))
        return 0;
    qsizetype length = 1;
    while (length < line.size() && length < 4 && (grammar::isLetter(line[length]) || grammar::isDigit(line[length])))
        ++length;
    qsizetype i = length;
    while (i < line.size() && line[i] == QLatin1Char(' '))
        ++i;
    if (length < 2 || i >= line.size() || line[i] != QLatin1Char('-'))
        return 0;
    return i + 1 == line.size() || line[i + 1] == QLatin1Char(' ') ? length : 0;
}

bool isLabelCharacter(QChar c)
{
    // Asked for the first characters of every line of an export: ASCII is answered directly.
    if (grammar::isLetter(c) || grammar::isDigit(c))
        return true;
    switch (c.unicode()) {
    case ' ':
    case '.':
    case '_':
    case '/':
    case '(':
    case ')':
    case '&':
    case '\'':
    case '-': return true;
    default: return c.unicode() >= 0x80 && c.isLetterOrNumber();
    }
}

// "Label: value": a label of up to 40 letters, digits, blanks and a few signs, starting
// with a letter, then ": ". ("|" and "+" never occur: saved tag maps use them.)
qsizetype colonTagLength(QStringView line)
{
    if (line.isEmpty() || !line[0].isLetter())
        return 0;
    qsizetype length = 1;
    while (length < line.size() && length < LongestLabel && isLabelCharacter(line[length]))
        ++length;
    if (length >= line.size() || line[length] != QLatin1Char(':') || line[length - 1] == QLatin1Char(' '))
        return 0;
    return length + 1 == line.size() || line[length + 1] == QLatin1Char(' ') ? length : 0;
}

class PlainTagGrammar final : public TaggedGrammar {
public:
    explicit PlainTagGrammar(TaggedFormat format)
        : m_format(format)
    {
    }
    TaggedFormat format() const override { return m_format; }
    bool capitalTags() const override { return false; }

    LineMeaning read(QStringView line, bool inRecord, QStringView) const override
    {
        qsizetype length = 0;
        qsizetype separator = 0; // characters between the tag and its value
        switch (m_format) {
        case TaggedFormat::Refer: length = referTagLength(line); break;
        case TaggedFormat::DashTags:
            length = dashTagLength(line);
            // Only a tag line is looked through for its dash: detection reads every line of
            // a long abstract with this grammar too.
            if (length > 0)
                separator = line.indexOf(QLatin1Char('-'), length) + 1 - length;
            break;
        default:
            length = colonTagLength(line);
            separator = 1;
            break;
        }
        if (length == 0)
            return grammar::untaggedLine(line, inRecord, true);
        return {inRecord ? LineMeaning::Field : LineMeaning::Starts, line.first(length),
            grammar::valueFrom(line, length + separator)};
    }

private:
    TaggedFormat m_format;
};

} // namespace

const TaggedGrammar& plainTagGrammar(TaggedFormat format)
{
    static const PlainTagGrammar refer(TaggedFormat::Refer);
    static const PlainTagGrammar dash(TaggedFormat::DashTags);
    static const PlainTagGrammar colon(TaggedFormat::ColonTags);
    switch (format) {
    case TaggedFormat::Refer: return refer;
    case TaggedFormat::DashTags: return dash;
    default: return colon;
    }
}

} // namespace papyrant
