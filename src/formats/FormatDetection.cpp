#include "formats/FormatDetection.h"

#include <array>

namespace papyrant {
namespace {

// What one grammar made of the text so far.
struct Tally {
    const TaggedGrammar* grammar = nullptr;
    bool open = false;
    QStringView lastTag; // a view into the text, valid for the whole pass
    int records = 0;
    qsizetype tagLines = 0; // lines holding a tag or a further value of one
    qsizetype endLines = 0;
    QString firstTag;
    bool severalTags = false; // a tag other than the first one was seen

    // Most lines are tag lines, of at least two tags, two a record or more: not prose.
    bool plausible(qsizetype lines) const
    {
        return records > 0 && severalTags && tagLines >= 2 * qsizetype(records) && tagLines * 2 >= lines;
    }

    void read(QStringView line)
    {
        const LineMeaning meaning = grammar->read(line, open, lastTag);
        switch (meaning.kind) {
        case LineMeaning::Starts:
            ++records;
            open = true;
            break;
        case LineMeaning::EndsWith:
            ++endLines;
            open = false;
            break;
        case LineMeaning::EndsBefore: open = false; break;
        default: break;
        }
        if (meaning.tag.isEmpty() || meaning.kind == LineMeaning::EndsWith)
            return;
        ++tagLines;
        lastTag = meaning.tag;
        if (firstTag.isEmpty())
            firstTag = meaning.tag.toString();
        else if (!severalTags && meaning.tag != firstTag)
            severalTags = true;
    }
};

} // namespace

FormatDetection detectTaggedFormat(QStringView text)
{
    std::array<Tally, 6> tallies;
    for (std::size_t i = 0; i < tallies.size(); ++i)
        tallies[i].grammar = taggedGrammar(taggedFormats()[i]);
    qsizetype lines = 0; // lines holding anything, not indented (indented ones continue a value)
    bool webOfScienceHeader = false;
    if (text.startsWith(QChar(0xFEFF)))
        text = text.sliced(1);
    for (qsizetype start = 0; start < text.size();) {
        const QStringView line = grammar::lineAt(text, start, &start);
        lines += !line.isEmpty() && !line.front().isSpace();
        webOfScienceHeader = webOfScienceHeader || line.startsWith(u"FN ");
        for (Tally& tally : tallies)
            tally.read(line);
    }
    const Tally& medline = tallies[0];
    const Tally& ris = tallies[1];
    const Tally& webOfScience = tallies[2];
    if (medline.records > 0 || ris.records > 0)
        return medline.records > ris.records ? FormatDetection{TaggedFormat::Medline, medline.records}
                                             : FormatDetection{TaggedFormat::Ris, ris.records};
    if (webOfScience.plausible(lines) && (webOfScience.endLines > 0 || webOfScienceHeader))
        return {TaggedFormat::WebOfScience, webOfScience.records};
    const Tally* best = nullptr; // the plain layout with the most tag lines
    for (std::size_t i = 3; i < tallies.size(); ++i) {
        const Tally& tally = tallies[i];
        if (tally.plausible(lines) && (!best || tally.tagLines > best->tagLines))
            best = &tally;
    }
    if (best)
        return {best->grammar->format(), best->records};
    return {};
}

QString detectionSummary(const FormatDetection& detection)
{
    if (detection.format == TaggedFormat::None)
        return QStringLiteral("No tags of a known layout");
    const QString records
        = detection.records == 1 ? QStringLiteral("1 record") : QStringLiteral("%1 records").arg(detection.records);
    switch (detection.format) {
    case TaggedFormat::Medline:
    case TaggedFormat::Ris:
    case TaggedFormat::WebOfScience: return taggedFormatName(detection.format) + QStringLiteral(" export: ") + records;
    default:
        return QStringLiteral("Tagged text (") + taggedFormatName(detection.format) + QStringLiteral("): ") + records;
    }
}

} // namespace papyrant
