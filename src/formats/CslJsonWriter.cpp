#include "formats/CslJsonWriter.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace papyrant {
namespace {

// Line breaks as JSON keeps them: one line feed each, whatever the record stored.
QString withLineFeeds(QString text)
{
    return text.replace(QLatin1StringView("\r\n"), QLatin1StringView("\n")).replace(u'\r', u'\n');
}

QJsonObject cslName(const PersonName& name)
{
    if (name.isLiteral())
        return {{QStringLiteral("literal"), name.literal}};
    QJsonObject person{{QStringLiteral("family"), name.family}};
    if (!name.given.isEmpty())
        person.insert(QStringLiteral("given"), name.given);
    return person;
}

void addText(QJsonObject& item, const QString& name, const QString& value)
{
    if (!value.isEmpty())
        item.insert(name, value);
}

} // namespace

QString cslType(PublicationKind kind)
{
    switch (kind) {
    case PublicationKind::JournalArticle: return QStringLiteral("article-journal");
    case PublicationKind::Book: return QStringLiteral("book");
    case PublicationKind::Chapter: return QStringLiteral("chapter");
    case PublicationKind::Conference: return QStringLiteral("paper-conference");
    case PublicationKind::Thesis: return QStringLiteral("thesis");
    case PublicationKind::Report: return QStringLiteral("report");
    case PublicationKind::Other: break;
    }
    return QStringLiteral("document");
}

QJsonObject cslItem(const CitationRecord& record, const QString& id)
{
    QJsonObject item{{QStringLiteral("id"), id}, {QStringLiteral("type"), cslType(record.kind)}};
    addText(item, QStringLiteral("title"), record.title);
    QJsonArray authors;
    for (const PersonName& name : record.authors)
        authors.append(cslName(name));
    if (!authors.isEmpty())
        item.insert(QStringLiteral("author"), authors);
    addText(item, QStringLiteral("container-title"), record.source.journal);
    addText(item, QStringLiteral("volume"), record.source.volume);
    addText(item, QStringLiteral("issue"), record.source.issue);
    const SourceParts& source = record.source;
    addText(item, QStringLiteral("page"),
        source.lastPage.isEmpty() ? source.firstPage : source.firstPage + u'-' + source.lastPage);
    if (!record.year.isEmpty())
        item.insert(QStringLiteral("issued"),
            QJsonObject{{QStringLiteral("date-parts"), QJsonArray{QJsonArray{record.year.toInt()}}}});
    addText(item, QStringLiteral("abstract"), withLineFeeds(record.abstract));
    // CSL has one text for key words; reference managers join them with commas.
    addText(item, QStringLiteral("keyword"), record.keywords.join(QLatin1StringView(", ")));
    addText(item, QStringLiteral("language"), record.language);
    addText(item, QStringLiteral("note"), withLineFeeds(record.note));
    return item;
}

QByteArray CslJsonWriter::opening()
{
    return QByteArrayLiteral("[\n");
}

QByteArray CslJsonWriter::entry(const CitationRecord& record)
{
    QByteArray out = recordsWritten() > 0 ? QByteArrayLiteral(",\n") : QByteArray();
    out += QJsonDocument(cslItem(record, m_keys.next(record))).toJson(QJsonDocument::Compact);
    return out;
}

QByteArray CslJsonWriter::closing()
{
    return QByteArrayLiteral("\n]\n");
}

} // namespace papyrant
