#include "formats/TaggedGrammar.h"

#include <algorithm>
#include <array>

namespace papyrant {
namespace {

struct FormatName {
    TaggedFormat format;
    const char* name;
};

constexpr std::array<FormatName, 6> FormatNames{{{TaggedFormat::Medline, "MEDLINE"}, {TaggedFormat::Ris, "RIS"},
    {TaggedFormat::WebOfScience, "Web of Science"}, {TaggedFormat::Refer, "Refer"},
    {TaggedFormat::DashTags, "TAG - value"}, {TaggedFormat::ColonTags, "Label: value"}}};

} // namespace

QString taggedFormatName(TaggedFormat format)
{
    for (const FormatName& entry : FormatNames) {
        if (entry.format == format)
            return QString::fromLatin1(entry.name);
    }
    return {};
}

TaggedFormat taggedFormatNamed(const QString& name)
{
    for (const FormatName& entry : FormatNames) {
        if (name == QLatin1String(entry.name))
            return entry.format;
    }
    return TaggedFormat::None;
}

const std::vector<TaggedFormat>& taggedFormats()
{
    static const std::vector<TaggedFormat> formats{TaggedFormat::Medline, TaggedFormat::Ris, TaggedFormat::WebOfScience,
        TaggedFormat::Refer, TaggedFormat::DashTags, TaggedFormat::ColonTags};
    return formats;
}

const TaggedGrammar* taggedGrammar(TaggedFormat format)
{
    switch (format) {
    case TaggedFormat::Medline: return &medlineGrammar();
    case TaggedFormat::Ris: return &risGrammar();
    case TaggedFormat::WebOfScience: return &webOfScienceGrammar();
    case TaggedFormat::Refer:
    case TaggedFormat::DashTags:
    case TaggedFormat::ColonTags: return &plainTagGrammar(format);
    case TaggedFormat::None: break;
    }
    return nullptr;
}

namespace grammar {

static bool isInlineBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QStringView lineAt(QStringView text, qsizetype start, qsizetype* next)
{
    const qsizetype feed = text.indexOf(QLatin1Char('\n'), start);
    qsizetype end = feed < 0 ? text.size() : feed;
    *next = feed < 0 ? text.size() : feed + 1;
    if (end > start && text[end - 1] == QLatin1Char('\r'))
        --end;
    return text.sliced(start, end - start);
}

bool isBlank(QStringView line)
{
    for (const QChar c : line) {
        if (!isInlineBlank(c))
            return false;
    }
    return true;
}

bool startsWithBlanks(QStringView line, qsizetype count)
{
    if (line.size() < count)
        return false;
    for (qsizetype i = 0; i < count; ++i) {
        if (line[i] != QLatin1Char(' '))
            return false;
    }
    return true;
}

QStringView valueFrom(QStringView line, qsizetype from)
{
    qsizetype start = std::min(from, line.size());
    qsizetype end = line.size();
    while (start < end && isInlineBlank(line[start]))
        ++start;
    while (end > start && isInlineBlank(line[end - 1]))
        --end;
    return line.sliced(start, end - start);
}

LineMeaning untaggedLine(QStringView line, bool inRecord, bool blankEndsRecord)
{
    if (!inRecord)
        return {};
    if (isBlank(line))
        return {blankEndsRecord ? LineMeaning::EndsBefore : LineMeaning::Ignored, {}, {}};
    return {LineMeaning::Continues, {}, valueFrom(line, 0)};
}

} // namespace grammar
} // namespace papyrant
