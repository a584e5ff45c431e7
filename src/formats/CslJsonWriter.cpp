#include "formats/CslJsonWriter.h"

#include "formats/TextScan.h"

namespace papyrant {
namespace {

std::uint16_t needsEscape(std::uint16_t c)
{
    return mask(c < 0x20) | mask(c == u'"') | mask(c == u'\\');
}

void appendString(QString& out, QStringView text)
{
    out += u'"';
    qsizetype plain = 0;
    for (qsizetype i = firstMarked(text, 0, needsEscape); i < text.size(); i = firstMarked(text, i + 1, needsEscape)) {
        const char16_t c = text[i].unicode();
        out += text.mid(plain, i - plain);
        plain = i + 1;
        switch (c) {
        case u'"': out += QLatin1StringView("\\\""); break;
        case u'\\': out += QLatin1StringView("\\\\"); break;
        case u'\n': out += QLatin1StringView("\\n"); break;
        case u'\r': out += QLatin1StringView("\\r"); break;
        case u'\t': out += QLatin1StringView("\\t"); break;
        case u'\b': out += QLatin1StringView("\\b"); break;
        case u'\f': out += QLatin1StringView("\\f"); break;
        default: out += QStringLiteral("\\u%1").arg(int(c), 4, 16, QLatin1Char('0'));
        }
    }
    out += text.mid(plain);
    out += u'"';
}

// Line breaks as JSON keeps them: one line feed each, whatever the record stored.
void appendWithLineFeeds(QString& out, QStringView text)
{
    if (!text.contains(u'\r')) {
        appendString(out, text);
        return;
    }
    QString feeds = text.toString();
    feeds.replace(QLatin1StringView("\r\n"), QLatin1StringView("\n")).replace(u'\r', u'\n');
    appendString(out, feeds);
}

void appendName(QLatin1StringView name, QString& out)
{
    out += u'"';
    out += name;
    out += QLatin1StringView("\":");
}

// ,"name":"value" for a value that is not empty.
void addText(QString& out, QLatin1StringView name, QStringView value)
{
    if (value.isEmpty())
        return;
    out += u',';
    appendName(name, out);
    appendString(out, value);
}

void appendPerson(QString& out, const PersonName& name)
{
    out += u'{';
    if (name.isLiteral()) {
        appendName(QLatin1StringView("literal"), out);
        appendString(out, name.literal);
    } else {
        appendName(QLatin1StringView("family"), out);
        appendString(out, name.family);
        addText(out, QLatin1StringView("given"), name.given);
    }
    out += u'}';
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

QString jsonString(QStringView text)
{
    QString out;
    appendString(out, text);
    return out;
}

QByteArray CslJsonWriter::opening()
{
    return QByteArrayLiteral("[\n");
}

// Written by hand rather than through QJsonObject: building a JSON object per record and
// per author took longer than the whole export may (see the decision note on CSL-JSON).
void CslJsonWriter::entry(const CitationRecord& record, QString& out)
{
    if (recordsWritten() > 0)
        out += QLatin1StringView(",\n");
    out += u'{';
    appendName(QLatin1StringView("id"), out);
    appendString(out, m_keys.next(record));
    addText(out, QLatin1StringView("type"), cslType(record.kind));
    addText(out, QLatin1StringView("title"), record.title);
    if (!record.authors.empty()) {
        out += u',';
        appendName(QLatin1StringView("author"), out);
        out += u'[';
        for (std::size_t i = 0; i < record.authors.size(); ++i) {
            if (i > 0)
                out += u',';
            appendPerson(out, record.authors[i]);
        }
        out += u']';
    }
    const SourceParts& source = record.source;
    addText(out, QLatin1StringView("container-title"), source.journal);
    addText(out, QLatin1StringView("volume"), source.volume);
    addText(out, QLatin1StringView("issue"), source.issue);
    addText(out, QLatin1StringView("page"),
        source.lastPage.isEmpty() ? source.firstPage : source.firstPage + u'-' + source.lastPage);
    if (!record.year.isEmpty()) {
        out += u',';
        appendName(QLatin1StringView("issued"), out);
        // A number: JSON allows no leading zero ("0987").
        out += QLatin1StringView("{\"date-parts\":[[") + QString::number(record.year.toInt())
            + QLatin1StringView("]]}");
    }
    if (!record.abstract.isEmpty()) {
        out += u',';
        appendName(QLatin1StringView("abstract"), out);
        appendWithLineFeeds(out, record.abstract);
    }
    // CSL has one text for key words; reference managers join them with commas.
    addText(out, QLatin1StringView("keyword"), record.keywords.join(QLatin1StringView(", ")));
    addText(out, QLatin1StringView("language"), record.language);
    if (!record.note.isEmpty()) {
        out += u',';
        appendName(QLatin1StringView("note"), out);
        appendWithLineFeeds(out, record.note);
    }
    out += u'}';
}

QByteArray CslJsonWriter::closing()
{
    return QByteArrayLiteral("\n]\n");
}

} // namespace papyrant
