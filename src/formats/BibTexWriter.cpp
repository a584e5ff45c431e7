#include "formats/BibTexWriter.h"

#include <QRegularExpression>

namespace papyrant {
namespace {

bool needsEscape(QChar c)
{
    switch (c.unicode()) {
    case u'#':
    case u'$':
    case u'%':
    case u'&':
    case u'_':
    case u'{':
    case u'}':
    case u'~':
    case u'^':
    case u'\\':
    case u'-': return true;
    default: return false;
    }
}

bool holdsCapital(QStringView word)
{
    for (QChar c : word) {
        if (c.isUpper())
            return true;
    }
    return false;
}

// Styles capitalise the first letter of a title and of each sentence in it (after ". ? !"
// and the colon of a subtitle); a word that begins small there is protected.
bool firstLetterIsSmall(QStringView word)
{
    for (QChar c : word) {
        if (c.isLetter())
            return c.isLower();
    }
    return false;
}

// A brace group that begins with a backslash is one "special character" to BibTeX, whose
// case it changes after all; an empty group first keeps it an ordinary protected group.
QString protectedWord(const QString& escaped)
{
    return escaped.startsWith(u'\\') ? QLatin1StringView("{{}") + escaped + u'}' : u'{' + escaped + u'}';
}

// " and " separates names: a name part holding the word is kept in braces.
QString namePart(const QString& part)
{
    static const QRegularExpression andWord(
        QStringLiteral("(^|\\s)and(\\s|$)"), QRegularExpression::CaseInsensitiveOption);
    const QString escaped = bibTexText(part);
    return part.contains(andWord) ? u'{' + escaped + u'}' : escaped;
}

QString bibTexName(const PersonName& name)
{
    if (name.isLiteral())
        return protectedWord(bibTexText(name.literal));
    if (name.given.isEmpty())
        return namePart(name.family);
    return namePart(name.family) + QLatin1StringView(", ") + namePart(name.given);
}

QString bibTexKeywords(const QStringList& keywords)
{
    QStringList written;
    for (const QString& keyword : keywords) {
        const QString escaped = bibTexText(oneLine(keyword));
        // biblatex splits key words at commas; a key word holding one stays whole in braces.
        written << (keyword.contains(u',') ? u'{' + escaped + u'}' : escaped);
    }
    return written.join(QLatin1StringView(", "));
}

void addField(QString& out, QLatin1StringView name, const QString& value)
{
    if (value.isEmpty())
        return;
    out += QLatin1StringView(",\n  ");
    out += name;
    out += QLatin1StringView(" = {");
    out += value;
    out += u'}';
}

} // namespace

QString bibTexType(PublicationKind kind)
{
    switch (kind) {
    case PublicationKind::JournalArticle: return QStringLiteral("article");
    case PublicationKind::Book: return QStringLiteral("book");
    case PublicationKind::Chapter: return QStringLiteral("incollection");
    case PublicationKind::Conference: return QStringLiteral("inproceedings");
    case PublicationKind::Thesis: return QStringLiteral("phdthesis");
    case PublicationKind::Report: return QStringLiteral("techreport");
    case PublicationKind::Other: break;
    }
    return QStringLiteral("misc");
}

QString bibTexText(const QString& text)
{
    qsizetype first = 0;
    while (first < text.size() && !needsEscape(text[first]))
        ++first;
    if (first == text.size())
        return text;
    QString out = text.left(first);
    out.reserve(text.size() + 32);
    for (qsizetype i = first; i < text.size(); ++i) {
        const QChar c = text[i];
        switch (c.unicode()) {
        case u'~': out += QLatin1StringView("\\textasciitilde{}"); break;
        case u'^': out += QLatin1StringView("\\textasciicircum{}"); break;
        case u'\\': out += QLatin1StringView("\\textbackslash{}"); break;
        case u'-':
            out += c;
            if (i + 1 < text.size() && text[i + 1] == u'-')
                out += QLatin1StringView("{}");
            break;
        default:
            if (needsEscape(c))
                out += u'\\';
            out += c;
        }
    }
    return out;
}

QString bibTexTitle(const QString& title)
{
    QStringList words;
    bool startsSentence = true;
    for (QStringView word : QStringView(title).split(u' ', Qt::SkipEmptyParts)) {
        const QString escaped = bibTexText(word.toString());
        words << (holdsCapital(word) || (startsSentence && firstLetterIsSmall(word)) ? protectedWord(escaped)
                                                                                     : escaped);
        startsSentence = QStringView(u".?!:").contains(word.back());
    }
    return words.join(u' ');
}

QByteArray BibTexWriter::entry(const CitationRecord& record)
{
    QString out;
    out.reserve(record.abstract.size() + record.title.size() + 512);
    if (recordsWritten() > 0)
        out += u'\n';
    out += u'@' + bibTexType(record.kind) + u'{' + m_keys.next(record);
    QStringList authors;
    for (const PersonName& name : record.authors)
        authors << bibTexName(name);
    addField(out, QLatin1StringView("author"), authors.join(QLatin1StringView(" and ")));
    addField(out, QLatin1StringView("title"), bibTexTitle(record.title));
    // Chapters and papers name their book or proceedings in booktitle, which styles print
    // for them and recase like a title; every other kind keeps the source as its journal.
    if (record.kind == PublicationKind::Chapter || record.kind == PublicationKind::Conference)
        addField(out, QLatin1StringView("booktitle"), bibTexTitle(record.source.journal));
    else
        addField(out, QLatin1StringView("journal"), bibTexText(record.source.journal));
    addField(out, QLatin1StringView("volume"), bibTexText(record.source.volume));
    addField(out, QLatin1StringView("number"), bibTexText(record.source.issue));
    QString pages = bibTexText(record.source.firstPage);
    if (!record.source.lastPage.isEmpty())
        pages += QLatin1StringView("--") + bibTexText(record.source.lastPage);
    addField(out, QLatin1StringView("pages"), pages);
    addField(out, QLatin1StringView("year"), record.year);
    addField(out, QLatin1StringView("keywords"), bibTexKeywords(record.keywords));
    addField(out, QLatin1StringView("abstract"), bibTexText(oneLine(record.abstract)));
    addField(out, QLatin1StringView("language"), bibTexText(oneLine(record.language)));
    // The authors' address is their affiliation: BibTeX's address is where a publisher
    // is, and styles print it as such.
    addField(out, QLatin1StringView("affiliation"), bibTexText(oneLine(record.address)));
    addField(out, QLatin1StringView("note"), bibTexText(oneLine(record.note)));
    out += QLatin1StringView("\n}\n");
    return out.toUtf8();
}

} // namespace papyrant
