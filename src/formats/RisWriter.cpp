#include "formats/RisWriter.h"

namespace papyrant {
namespace {

void addTag(QString& out, QLatin1StringView tag, QStringView value)
{
    const qsizetype start = out.size();
    out += tag;
    out += QLatin1StringView("  - ");
    const qsizetype valueStart = out.size();
    appendOneLine(out, value);
    if (out.size() == valueStart)
        out.truncate(start);
    else
        out += QLatin1StringView("\r\n");
}

// "Family, Given"; a group ends in a comma, which EndNote and Zotero read as a name not
// to be cut into family and given parts. Written in place: a record has dozens of names.
void addName(QString& out, const PersonName& name)
{
    const qsizetype start = out.size();
    out += QLatin1StringView("AU  - ");
    const qsizetype valueStart = out.size();
    if (name.isLiteral()) {
        appendOneLine(out, name.literal);
        out += u',';
    } else {
        appendOneLine(out, name.family);
        if (!name.given.isEmpty()) {
            out += QLatin1StringView(", ");
            appendOneLine(out, name.given);
        }
    }
    if (out.size() == valueStart)
        out.truncate(start);
    else
        out += QLatin1StringView("\r\n");
}

} // namespace

QString risType(PublicationKind kind)
{
    switch (kind) {
    case PublicationKind::JournalArticle: return QStringLiteral("JOUR");
    case PublicationKind::Book: return QStringLiteral("BOOK");
    case PublicationKind::Chapter: return QStringLiteral("CHAP");
    case PublicationKind::Conference: return QStringLiteral("CONF");
    case PublicationKind::Thesis: return QStringLiteral("THES");
    case PublicationKind::Report: return QStringLiteral("RPRT");
    case PublicationKind::Other: break;
    }
    return QStringLiteral("GEN");
}

void RisWriter::entry(const CitationRecord& record, QString& out)
{
    if (recordsWritten() > 0)
        out += QLatin1StringView("\r\n");
    addTag(out, QLatin1StringView("TY"), risType(record.kind));
    for (const PersonName& name : record.authors)
        addName(out, name);
    addTag(out, QLatin1StringView("TI"), record.title);
    // T2 is the journal of an article, the book of a chapter, the proceedings of a paper.
    addTag(out, QLatin1StringView("T2"), record.source.journal);
    addTag(out, QLatin1StringView("VL"), record.source.volume);
    addTag(out, QLatin1StringView("IS"), record.source.issue);
    addTag(out, QLatin1StringView("SP"), record.source.firstPage);
    addTag(out, QLatin1StringView("EP"), record.source.lastPage);
    addTag(out, QLatin1StringView("PY"), record.year);
    for (const QString& keyword : record.keywords)
        addTag(out, QLatin1StringView("KW"), keyword);
    addTag(out, QLatin1StringView("AB"), record.abstract);
    addTag(out, QLatin1StringView("LA"), record.language);
    addTag(out, QLatin1StringView("AD"), record.address);
    addTag(out, QLatin1StringView("N1"), record.note);
    out += QLatin1StringView("ER  - \r\n");
}

} // namespace papyrant
