#include "formats/FieldSplitting.h"

#include "core/RecordModel.h"

#include <QRegularExpression>

namespace papyrant {
namespace {

constexpr int MostNameWords = 3; // "van der Berg": longer runs are groups, not family names
constexpr int MostGivenWords = 4;

bool hasDigit(QStringView text)
{
    for (QChar c : text) {
        if (c.isDigit())
            return true;
    }
    return false;
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
QString givenForm(const QString& given)
{
    for (QChar c : given) {
        if (!c.isUpper())
            return given;
    }
    if (given.size() > 3)
        return given;
    QStringList initials;
    for (QChar c : given)
        initials << QString(c) + u'.';
    return initials.join(u' ');
}

// The family words of a "Family GI" name: one to three, none of them initials, the last
// one capitalised ("van der Berg", never "Smith JA" of "Smith JA III").
bool isFamilyPart(const QList<QStringView>& words)
{
    if (words.isEmpty() || words.size() > MostNameWords || !words.back().front().isUpper())
        return false;
    for (QStringView word : words) {
        if (isInitials(word) || hasDigit(word))
            return false;
    }
    return true;
}

bool isFamilyInitialsName(QStringView name)
{
    QList<QStringView> words = name.split(u' ', Qt::SkipEmptyParts);
    if (words.size() < 2 || !isInitials(words.back()))
        return false;
    words.removeLast();
    return isFamilyPart(words);
}

int wordCount(QStringView text)
{
    return static_cast<int>(text.split(u' ', Qt::SkipEmptyParts).size());
}

PersonName literalName(const QString& name)
{
    return PersonName{{}, {}, name};
}

// Splits at "; " and at line breaks; pieces trimmed, a trailing ';' dropped, empty ones left out.
QStringList splitPieces(const QString& value)
{
    QStringList pieces;
    const QString text = storedText(value);
    qsizetype start = 0;
    auto take = [&](qsizetype end) {
        QString piece = text.mid(start, end - start).trimmed();
        while (piece.endsWith(u';'))
            piece = piece.chopped(1).trimmed();
        if (!piece.isEmpty())
            pieces << piece;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            take(i);
            start = i + 1;
        } else if (c == u';' && i + 1 < text.size() && text[i + 1] == u' ') {
            take(i);
            start = i + 2;
            ++i;
        }
    }
    take(text.size());
    return pieces;
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

QString oneLine(const QString& text)
{
    return text.simplified();
}

PersonName parseName(const QString& name)
{
    const QString whole = oneLine(name);
    const qsizetype comma = whole.indexOf(u',');
    if (comma >= 0) {
        const QString family = whole.left(comma).trimmed();
        const QString given = whole.mid(comma + 1).trimmed();
        if (given.isEmpty() || family.isEmpty() || given.contains(u',') || wordCount(family) > MostNameWords
            || wordCount(given) > MostGivenWords || hasDigit(whole))
            return literalName(given.isEmpty() && !family.isEmpty() ? family : whole);
        return PersonName{family, givenForm(given), {}};
    }
    if (isFamilyInitialsName(whole)) {
        const qsizetype blank = whole.lastIndexOf(u' ');
        return PersonName{whole.left(blank), givenForm(whole.mid(blank + 1)), {}};
    }
    return literalName(whole);
}

std::vector<PersonName> splitAuthors(const QString& value)
{
    std::vector<PersonName> names;
    for (const QString& piece : splitPieces(value)) {
        const QStringList parts = piece.split(u',', Qt::SkipEmptyParts);
        bool commaList = parts.size() > 1;
        for (const QString& part : parts)
            commaList = commaList && isFamilyInitialsName(QStringView(part).trimmed());
        if (!commaList) {
            names.push_back(parseName(piece));
            continue;
        }
        for (const QString& part : parts)
            names.push_back(parseName(part));
    }
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
