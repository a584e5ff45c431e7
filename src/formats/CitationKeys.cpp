#include "formats/CitationKeys.h"

namespace papyrant {
namespace {

// Letters without a decomposition to ASCII that have a customary ASCII spelling.
QLatin1StringView asciiSpelling(char16_t c)
{
    switch (c) {
    case u'ß': return QLatin1StringView("ss");
    case u'æ': return QLatin1StringView("ae");
    case u'Æ': return QLatin1StringView("AE");
    case u'œ': return QLatin1StringView("oe");
    case u'Œ': return QLatin1StringView("OE");
    case u'ø': return QLatin1StringView("o");
    case u'Ø': return QLatin1StringView("O");
    case u'ł': return QLatin1StringView("l");
    case u'Ł': return QLatin1StringView("L");
    case u'đ':
    case u'ð': return QLatin1StringView("d");
    case u'Đ':
    case u'Ð': return QLatin1StringView("D");
    case u'þ': return QLatin1StringView("th");
    case u'Þ': return QLatin1StringView("Th");
    case u'ı': return QLatin1StringView("i");
    case u'ħ': return QLatin1StringView("h");
    case u'Ħ': return QLatin1StringView("H");
    default: return QLatin1StringView();
    }
}

bool isAsciiLetterOrDigit(QChar c)
{
    return c.unicode() < 128 && c.isLetterOrNumber();
}

void appendAscii(QString& out, QChar c)
{
    if (isAsciiLetterOrDigit(c)) {
        out += c;
        return;
    }
    if (c.unicode() < 128)
        return;
    if (const QLatin1StringView spelling = asciiSpelling(c.unicode()); !spelling.isEmpty()) {
        out += spelling;
        return;
    }
    // "ǖ" decomposes to "ü" and a macron, "ü" to "u" and a diaeresis: marks are dropped.
    for (QChar part : c.decomposition())
        appendAscii(out, part);
}

// Function words a key skips to reach the first significant word of a title.
bool isFunctionWord(const QString& word)
{
    static const QSet<QString> words{QStringLiteral("a"), QStringLiteral("an"), QStringLiteral("the"),
        QStringLiteral("of"), QStringLiteral("on"), QStringLiteral("in"), QStringLiteral("and"), QStringLiteral("or"),
        QStringLiteral("for"), QStringLiteral("to"), QStringLiteral("with"), QStringLiteral("at"), QStringLiteral("by"),
        QStringLiteral("from"), QStringLiteral("into"), QStringLiteral("as"), QStringLiteral("is"),
        QStringLiteral("are"), QStringLiteral("its"), QStringLiteral("about"), QStringLiteral("de"),
        QStringLiteral("des"), QStringLiteral("du"), QStringLiteral("la"), QStringLiteral("le"), QStringLiteral("les"),
        QStringLiteral("l"), QStringLiteral("d"), QStringLiteral("un"), QStringLiteral("une"), QStringLiteral("et"),
        QStringLiteral("der"), QStringLiteral("die"), QStringLiteral("das"), QStringLiteral("den"),
        QStringLiteral("dem"), QStringLiteral("ein"), QStringLiteral("eine"), QStringLiteral("und"),
        QStringLiteral("zur"), QStringLiteral("zum"), QStringLiteral("el"), QStringLiteral("los"),
        QStringLiteral("las"), QStringLiteral("del"), QStringLiteral("y"), QStringLiteral("il"), QStringLiteral("lo"),
        QStringLiteral("di"), QStringLiteral("e")};
    return words.contains(word);
}

QString firstSignificantWord(const QString& title)
{
    qsizetype i = 0;
    while (i < title.size()) {
        while (i < title.size() && !title[i].isLetterOrNumber())
            ++i;
        const qsizetype start = i;
        while (i < title.size() && title[i].isLetterOrNumber())
            ++i;
        const QString word = asciiLetters(QStringView(title).mid(start, i - start)).toLower();
        if (!word.isEmpty() && !isFunctionWord(word))
            return word;
    }
    return {};
}

QString authorPart(const CitationRecord& record)
{
    if (record.authors.empty())
        return {};
    const PersonName& first = record.authors.front();
    if (!first.isLiteral())
        return asciiLetters(first.family).toLower();
    // A group is known by its first word that has an ASCII spelling ("world" of the WHO).
    for (QStringView word : QStringView(first.literal).split(u' ', Qt::SkipEmptyParts)) {
        const QString ascii = asciiLetters(word).toLower();
        if (!ascii.isEmpty())
            return ascii;
    }
    return {};
}

// 0 -> "a", 25 -> "z", 26 -> "aa": the letters count on like a spreadsheet's columns.
QString suffix(int number)
{
    QString letters;
    for (++number; number > 0; number = (number - 1) / 26)
        letters.prepend(QChar(u'a' + (number - 1) % 26));
    return letters;
}

} // namespace

QString asciiLetters(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        appendAscii(out, c);
    return out;
}

QString baseCitationKey(const CitationRecord& record)
{
    QString author = authorPart(record);
    if (author.isEmpty())
        author = QStringLiteral("anon");
    return author + record.year + firstSignificantWord(record.title);
}

QString CitationKeys::next(const CitationRecord& record)
{
    const QString base = baseCitationKey(record);
    if (!m_used.contains(base)) {
        m_used.insert(base);
        return base;
    }
    int& number = m_suffixes[base];
    QString key;
    do
        key = base + suffix(number++);
    while (m_used.contains(key));
    m_used.insert(key);
    return key;
}

} // namespace papyrant
