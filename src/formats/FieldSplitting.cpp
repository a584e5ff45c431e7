#include "formats/FieldSplitting.h"

#include "core/RecordModel.h"
#include "formats/TextScan.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace papyrant {
namespace {

constexpr int MostNameWords = 3; // "van der Berg": longer runs are groups, not family names
constexpr int MostGivenWords = 4;

bool hasDigit(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

// MEDLINE's initials: "J", "JA", "J.A.", "J.-P.": capitals, with dots or hyphens between.
bool isInitials(QStringView token)
{
    if (token.isEmpty() || token.size() > 8 || !token.front().isUpper())
        return false;
    int letters = 0;
    for (QChar c : token) {
        if (c.isUpper())
            ++letters;
        else if (c != u'.' && c != u'-')
            return false;
    }
    return letters <= 4;
}

// Given names that are bare capitals ("JA") get a dot and a blank each ("J. A."), the
// form citation styles shorten and print correctly; anything else stays as written.
QString givenForm(QStringView given)
{
    bool capitals = !given.isEmpty() && given.size() <= 3;
    for (QChar c : given)
        capitals = capitals && c.isUpper();
    if (!capitals)
        return given.toString();
    // Written in place: names are read by the hundred thousand in an export.
    QString initials(given.size() * 3 - 1, Qt::Uninitialized);
    QChar* out = initials.data();
    for (qsizetype i = 0; i < given.size(); ++i) {
        if (i > 0)
            *out++ = u' ';
        *out++ = given[i];
        *out++ = u'.';
    }
    return initials;
}

// Calls take(word) for each blank-separated word of a one-line text, in order, until it
// returns false. Names are split this way many times per record, so nothing is allocated.
template <typename Take>
void forEachWord(QStringView text, Take take)
{
    qsizetype i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == u' ')
            ++i;
        const qsizetype start = i;
        while (i < text.size() && text[i] != u' ')
            ++i;
        if (i > start && !take(text.mid(start, i - start)))
            return;
    }
}

int wordCount(QStringView text)
{
    int count = 0;
    forEachWord(text, [&](QStringView) {
        ++count;
        return true;
    });
    return count;
}

// "Family GI": one to three family words, none of them initials nor holding a digit, the
// last one capitalised ("van der Berg J"), then the initials ("Smith JA III" is no such name).
bool isFamilyInitialsName(QStringView name)
{
    std::array<QStringView, MostNameWords + 2> words;
    int count = 0;
    forEachWord(name, [&](QStringView word) {
        words[count++] = word;
        return count < static_cast<int>(words.size());
    });
    if (count < 2 || count > MostNameWords + 1 || !isInitials(words[count - 1]) || !words[count - 2].front().isUpper())
        return false;
    for (int i = 0; i < count - 1; ++i) {
        if (isInitials(words[i]) || hasDigit(words[i]))
            return false;
    }
    return true;
}

PersonName literalName(QStringView name)
{
    return PersonName{{}, {}, name.toString()};
}

bool isSpace(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x80 ? u == u' ' || (u >= u'\t' && u <= u'\r') : c.isSpace();
}

// Whether the block at c (and the character before it) may hold a double blank, a control
// character, or beyond ASCII a character that may be a space.
bool blockMayNotBeOneLine(const char16_t* c)
{
    std::uint16_t suspect = 0;
    for (int k = 0; k < ScanBlock; ++k) {
        const std::uint16_t u = c[k];
        const std::uint16_t before = c[k - 1];
        suspect |= mask(u == u' ' && before == u' ') | mask(u < u' ') | mask(u >= 0x80);
    }
    return suspect != 0;
}

PersonName parsedName(QStringView name);

// A "Family GI" name known to be one (isFamilyInitialsName): cut at its last blank.
PersonName familyInitialsName(QStringView name)
{
    if (!isOneLine(name))
        return parsedName(name);
    const qsizetype blank = name.lastIndexOf(u' ');
    return PersonName{name.left(blank).toString(), givenForm(name.mid(blank + 1)), {}};
}

PersonName parsedName(QStringView name)
{
    if (!isOneLine(name))
        return parsedName(name.toString().simplified());
    const qsizetype comma = name.indexOf(u',');
    if (comma >= 0) {
        const QStringView family = name.left(comma).trimmed();
        const QStringView given = name.mid(comma + 1).trimmed();
        if (given.isEmpty() && !family.isEmpty())
            return literalName(family);
        if (family.isEmpty() || given.contains(u',') || wordCount(family) > MostNameWords
            || wordCount(given) > MostGivenWords || hasDigit(name))
            return literalName(name);
        return PersonName{family.toString(), givenForm(given), {}};
    }
    if (isFamilyInitialsName(name))
        return familyInitialsName(name);
    return literalName(name);
}

// Calls take(piece) for each piece of the value split at "; " and at line breaks; pieces
// trimmed, a trailing ';' dropped, empty ones left out. The pieces are views of text.
template <typename Take>
void forEachPiece(const QString& text, Take take)
{
    qsizetype start = 0;
    auto piece = [&](qsizetype end) {
        QStringView piece = QStringView(text).mid(start, end - start).trimmed();
        while (piece.endsWith(u';'))
            piece = piece.chopped(1).trimmed();
        if (!piece.isEmpty())
            take(piece);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            piece(i);
            start = i + 1;
        } else if (c == u';' && i + 1 < text.size() && text[i + 1] == u' ') {
            piece(i);
            start = i + 2;
            ++i;
        }
    }
    piece(text.size());
}

QStringList splitPieces(const QString& value)
{
    QStringList pieces;
    const QString text = storedText(value);
    forEachPiece(text, [&](QStringView piece) {
        // A piece that is the whole value is handed on without a copy.
        pieces << (piece.size() == text.size() ? text : piece.toString());
    });
    return pieces;
}

// Calls take(part) for each part of a piece between commas, trimmed; empty parts left out.
template <typename Take>
void forEachCommaPart(QStringView piece, Take take)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i <= piece.size(); ++i) {
        if (i < piece.size() && piece[i] != u',')
            continue;
        if (i > start)
            take(piece.mid(start, i - start).trimmed());
        start = i + 1;
    }
}

// "606-7" ends at 607, "S12-5" at S15: the end written out from the start's digits.
QString fullLastPage(const QString& first, const QString& last)
{
    bool digitsOnly = !last.isEmpty();
    for (QChar c : last)
        digitsOnly = digitsOnly && c.isDigit();
    qsizetype firstDigits = first.size();
    while (firstDigits > 0 && first[firstDigits - 1].isDigit())
        --firstDigits;
    const qsizetype digitCount = first.size() - firstDigits;
    if (!digitsOnly || last.size() >= digitCount)
        return last;
    return first.left(first.size() - last.size()) + last;
}

void setPages(SourceParts& parts, const QString& pages)
{
    static const QRegularExpression dash(QStringLiteral("[-\u2013]+"));
    const QRegularExpressionMatch match = dash.match(pages);
    if (!match.hasMatch()) {
        parts.firstPage = pages.trimmed();
        return;
    }
    parts.firstPage = pages.left(match.capturedStart()).trimmed();
    parts.lastPage = fullLastPage(parts.firstPage, pages.mid(match.capturedEnd()).trimmed());
}

// A page or page range, as the shapes below capture it; what follows (". doi: ...") is left.
const QString PagesPattern = QStringLiteral("(?<pages>[^\\s.;,\u2013-]+(?:\\s*[-\u2013]+\\s*[^\\s.;,\u2013-]+)?)");

// "Journal. 2006 Mar 1;22(5):606-7" as MEDLINE writes its source, the dot after the
// journal optional; anything after the pages (". doi: ...", "Epub ...") is left out.
const QRegularExpression& medlineShape()
{
    static const QRegularExpression shape(
        QStringLiteral("^(?<journal>\\S.*?)\\.?\\s+\\d{4}(?:\\s[^;]*)?;\\s*(?<volume>[^(:;.\\s][^(:;.]*)?"
                       "(?:\\((?<issue>[^)]*)\\))?\\s*(?::\\s*")
        + PagesPattern + QStringLiteral(")?(?:[.;,\\s].*)?$"));
    return shape;
}

// "Journal 22(5): 606-607", the issue optional.
const QRegularExpression& colonShape()
{
    static const QRegularExpression shape(
        QStringLiteral("^(?<journal>\\S.*?),?\\s+(?<volume>\\d+)\\s*(?:\\((?<issue>[^)]+)\\))?\\s*:\\s*") + PagesPattern
        + QStringLiteral("\\.?$"));
    return shape;
}

// "Journal, vol 22, pp 606-607", also "Vol. 22, No. 5, pp. 606-607."
const QRegularExpression& volumeShape()
{
    static const QRegularExpression shape(
        QStringLiteral("^(?<journal>\\S.*?),\\s*vol(?:ume)?\\.?\\s*(?<volume>[^,\\s]+)"
                       "(?:,\\s*(?:no|nr|issue)\\.?\\s*(?<issue>[^,\\s]+))?(?:,\\s*pp?\\.?\\s*")
            + PagesPattern + QStringLiteral(")?\\.?$"),
        QRegularExpression::CaseInsensitiveOption);
    return shape;
}

} // namespace

QString storedText(const QString& value)
{
    return isEmptyField(value) ? QString() : value.trimmed();
}

bool isOneLine(QStringView text)
{
    const qsizetype size = text.size();
    if (size == 0)
        return true;
    const char16_t* c = text.utf16();
    if (c[0] == u' ' || c[size - 1] == u' ')
        return false;
    // c[k + 1] is there after a blank: the text does not end in one.
    auto isOneLineFrom = [&](qsizetype from, qsizetype to) {
        for (qsizetype k = from; k < to; ++k) {
            if ((c[k] == u' ' && c[k + 1] == u' ') || (c[k] != u' ' && isSpace(QChar(c[k]))))
                return false;
        }
        return true;
    };
    qsizetype i = 1;
    for (; i + ScanBlock <= size; i += ScanBlock) {
        if (blockMayNotBeOneLine(c + i) && !isOneLineFrom(i - 1, i + ScanBlock))
            return false;
    }
    return isOneLineFrom(i - 1, size);
}

QString oneLine(const QString& text)
{
    // Most values are one line already: they are handed on without a copy.
    return isOneLine(text) ? text : text.simplified();
}

void appendOneLine(QString& out, QStringView text)
{
    if (isOneLine(text)) {
        out += text;
        return;
    }
    bool blank = false;
    const qsizetype start = out.size();
    for (QChar c : text) {
        if (isSpace(c)) {
            blank = true;
            continue;
        }
        if (blank && out.size() > start)
            out += u' ';
        blank = false;
        out += c;
    }
}

PersonName parseName(const QString& name)
{
    return parsedName(name);
}

std::vector<PersonName> splitAuthors(const QString& value)
{
    std::vector<PersonName> names;
    const QString text = storedText(value);
    forEachPiece(text, [&](QStringView piece) {
        int parts = 0;
        bool commaList = true;
        forEachCommaPart(piece, [&](QStringView part) {
            ++parts;
            commaList = commaList && isFamilyInitialsName(part);
        });
        if (!commaList || parts < 2) {
            names.push_back(parsedName(piece));
            return;
        }
        names.reserve(names.size() + std::size_t(parts));
        forEachCommaPart(piece, [&](QStringView part) { names.push_back(familyInitialsName(part)); });
    });
    return names;
}

QStringList splitList(const QString& value)
{
    return splitPieces(value);
}

SourceParts splitSource(const QString& value)
{
    const QString source = oneLine(storedText(value));
    SourceParts parts;
    parts.journal = source;
    QRegularExpressionMatch match;
    if (source.contains(u';'))
        match = medlineShape().match(source);
    if (!match.hasMatch() && source.contains(u':'))
        match = colonShape().match(source);
    if (!match.hasMatch() && source.contains(QLatin1String("vol"), Qt::CaseInsensitive))
        match = volumeShape().match(source);
    if (!match.hasMatch())
        return parts;
    parts.journal = match.captured(u"journal").trimmed();
    parts.volume = match.captured(u"volume").trimmed();
    parts.issue = match.captured(u"issue").trimmed();
    setPages(parts, match.captured(u"pages"));
    return parts;
}

QString yearOf(const QString& value)
{
    if (isEmptyField(value))
        return {};
    qsizetype run = 0;
    for (qsizetype i = 0; i <= value.size(); ++i) {
        if (i < value.size() && value[i].isDigit() && value[i].unicode() < 128) {
            ++run;
            continue;
        }
        if (run == 4)
            return value.mid(i - 4, 4);
        run = 0;
    }
    return {};
}

} // namespace papyrant
