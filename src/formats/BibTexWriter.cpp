#include "formats/BibTexWriter.h"

#include "formats/TextScan.h"

#include <algorithm>

namespace papyrant {
namespace {

// The characters TeX treats specially, and the hyphen, whose pairs TeX makes a dash:
// # $ % & (one run of codes), -, \ ^ _ (with ] between), { } ~ (with |).
std::uint16_t mayNeedEscape(std::uint16_t c)
{
    return mask(std::uint16_t(c - u'#') < 4) | mask(c == u'-') | mask(std::uint16_t(c - u'\\') < 4)
        | mask(std::uint16_t(c - u'{') < 4);
}

void appendText(QString& out, QStringView text)
{
    qsizetype plain = 0; // start of the run of characters that need no escape
    for (qsizetype i = firstMarked(text, 0, mayNeedEscape); i < text.size();
         i = firstMarked(text, i + 1, mayNeedEscape)) {
        const QChar c = text[i];
        if (c == u']' || c == u'|' || (c == u'-' && (i + 1 == text.size() || text[i + 1] != u'-')))
            continue;
        out += text.mid(plain, i - plain);
        plain = i + 1;
        switch (c.unicode()) {
        case u'~': out += QLatin1StringView("\\textasciitilde{}"); break;
        case u'^': out += QLatin1StringView("\\textasciicircum{}"); break;
        case u'\\': out += QLatin1StringView("\\textbackslash{}"); break;
        case u'-': out += QLatin1StringView("-{}"); break;
        default: out += u'\\'; out += c;
        }
    }
    out += text.mid(plain);
}

// Text on one line, escaped.
void appendLine(QString& out, QStringView text)
{
    if (isOneLine(text))
        appendText(out, text);
    else
        appendText(out, text.toString().simplified());
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
void appendProtected(QString& out, QStringView text)
{
    const qsizetype start = out.size();
    out += u'{';
    appendText(out, text);
    if (out.size() > start + 1 && out[start + 1] == u'\\')
        out.insert(start + 1, QLatin1StringView("{}"));
    out += u'}';
}

void appendTitle(QString& out, QStringView title)
{
    bool startsSentence = true;
    bool first = true;
    // The words between blanks, read in place: titles are many and splitting them into a
    // list cost more than writing them.
    qsizetype i = 0;
    while (i < title.size()) {
        while (i < title.size() && title[i] == u' ')
            ++i;
        const qsizetype start = i;
        while (i < title.size() && title[i] != u' ')
            ++i;
        if (i == start)
            break;
        const QStringView word = title.mid(start, i - start);
        if (!first)
            out += u' ';
        first = false;
        if (std::any_of(word.begin(), word.end(), [](QChar c) { return c.isUpper(); })
            || (startsSentence && firstLetterIsSmall(word)))
            appendProtected(out, word);
        else
            appendText(out, word);
        const char16_t last = word.back().unicode();
        startsSentence = last == u'.' || last == u'?' || last == u'!' || last == u':';
    }
}

// " and " separates names: a name part holding the word is kept in braces.
void appendNamePart(QString& out, QStringView part)
{
    qsizetype wordStart = 0;
    for (qsizetype i = 0; i <= part.size(); ++i) {
        if (i < part.size() && part[i] != u' ')
            continue;
        if (i - wordStart == 3 && part.mid(wordStart, 3).compare(QLatin1StringView("and"), Qt::CaseInsensitive) == 0) {
            appendProtected(out, part);
            return;
        }
        wordStart = i + 1;
    }
    appendText(out, part);
}

void appendName(QString& out, const PersonName& name)
{
    if (name.isLiteral()) {
        appendProtected(out, name.literal);
        return;
    }
    appendNamePart(out, name.family);
    if (!name.given.isEmpty()) {
        out += QLatin1StringView(", ");
        appendNamePart(out, name.given);
    }
}

// Writes ",\n  name = {" and what write appends, or nothing when it appends nothing.
template <typename Write>
void addField(QString& out, QLatin1StringView name, Write write)
{
    const qsizetype start = out.size();
    out += QLatin1StringView(",\n  ");
    out += name;
    out += QLatin1StringView(" = {");
    const qsizetype valueStart = out.size();
    write();
    if (out.size() == valueStart) {
        out.truncate(start);
        return;
    }
    out += u'}';
}

void addTextField(QString& out, QLatin1StringView name, QStringView value)
{
    addField(out, name, [&] { appendLine(out, value); });
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
    QString out;
    appendText(out, text);
    return out;
}

QString bibTexTitle(const QString& title)
{
    QString out;
    appendTitle(out, title);
    return out;
}

void BibTexWriter::entry(const CitationRecord& record, QString& out)
{
    if (recordsWritten() > 0)
        out += u'\n';
    out += u'@';
    out += bibTexType(record.kind);
    out += u'{';
    out += m_keys.next(record);
    addField(out, QLatin1StringView("author"), [&] {
        for (std::size_t i = 0; i < record.authors.size(); ++i) {
            if (i > 0)
                out += QLatin1StringView(" and ");
            appendName(out, record.authors[i]);
        }
    });
    addField(out, QLatin1StringView("title"), [&] { appendTitle(out, record.title); });
    // Chapters and papers name their book or proceedings in booktitle, which styles print
    // for them and recase like a title; every other kind keeps the source as its journal.
    const SourceParts& source = record.source;
    if (record.kind == PublicationKind::Chapter || record.kind == PublicationKind::Conference)
        addField(out, QLatin1StringView("booktitle"), [&] { appendTitle(out, source.journal); });
    else
        addTextField(out, QLatin1StringView("journal"), source.journal);
    addTextField(out, QLatin1StringView("volume"), source.volume);
    addTextField(out, QLatin1StringView("number"), source.issue);
    addField(out, QLatin1StringView("pages"), [&] {
        appendText(out, source.firstPage);
        if (!source.lastPage.isEmpty()) {
            out += QLatin1StringView("--");
            appendText(out, source.lastPage);
        }
    });
    addTextField(out, QLatin1StringView("year"), record.year);
    addField(out, QLatin1StringView("keywords"), [&] {
        for (const QString& keyword : record.keywords) {
            if (&keyword != &record.keywords.front())
                out += QLatin1StringView(", ");
            // biblatex splits key words at commas; a key word holding one stays whole.
            if (keyword.contains(u','))
                out += u'{';
            appendLine(out, keyword);
            if (keyword.contains(u','))
                out += u'}';
        }
    });
    addTextField(out, QLatin1StringView("abstract"), record.abstract);
    addTextField(out, QLatin1StringView("language"), record.language);
    // The authors' address is their affiliation: BibTeX's address is where a publisher
    // is, and styles print it as such.
    addTextField(out, QLatin1StringView("affiliation"), record.address);
    addTextField(out, QLatin1StringView("note"), record.note);
    out += QLatin1StringView("\n}\n");
}

} // namespace papyrant
