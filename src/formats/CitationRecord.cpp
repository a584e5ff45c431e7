#include "formats/CitationRecord.h"

#include <QHash>

namespace papyrant {

PublicationKind publicationKind(const QStringList& types)
{
    static const QHash<QString, PublicationKind> kinds{
        {QStringLiteral("journal article"), PublicationKind::JournalArticle},
        {QStringLiteral("jour"), PublicationKind::JournalArticle},
        {QStringLiteral("j"), PublicationKind::JournalArticle},
        {QStringLiteral("book"), PublicationKind::Book},
        {QStringLiteral("b"), PublicationKind::Book},
        {QStringLiteral("book section"), PublicationKind::Chapter},
        {QStringLiteral("chapter"), PublicationKind::Chapter},
        {QStringLiteral("book chapter"), PublicationKind::Chapter},
        {QStringLiteral("chap"), PublicationKind::Chapter},
        {QStringLiteral("conference paper"), PublicationKind::Conference},
        {QStringLiteral("proceedings"), PublicationKind::Conference},
        {QStringLiteral("conference proceedings"), PublicationKind::Conference},
        {QStringLiteral("conf"), PublicationKind::Conference},
        {QStringLiteral("cpaper"), PublicationKind::Conference},
        {QStringLiteral("thesis"), PublicationKind::Thesis},
        {QStringLiteral("thes"), PublicationKind::Thesis},
        {QStringLiteral("report"), PublicationKind::Report},
        {QStringLiteral("rprt"), PublicationKind::Report},
    };
    for (const QString& type : types) {
        const auto kind = kinds.constFind(type.toLower());
        if (kind != kinds.cend())
            return *kind;
    }
    return PublicationKind::Other;
}

CitationRecord citationRecord(const RecordValues& values)
{
    CitationRecord record;
    record.title = oneLine(storedText(values[Title]));
    record.authors = splitAuthors(values[Authors]);
    record.address = storedText(values[Author_address]);
    record.source = splitSource(values[Source]);
    record.year = yearOf(values[Publishing_year]);
    record.keywords = splitList(values[Keywords]);
    record.kind = publicationKind(splitList(values[Publication_type]));
    record.language = storedText(values[Language]);
    record.abstract = storedText(values[Abstract]);
    record.note = storedText(values[Personal]);
    return record;
}

} // namespace papyrant
