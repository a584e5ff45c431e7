#include "search/Presentation.h"

#include "core/LikeMatcher.h"
#include "core/RecordSet.h"

#include <algorithm>

namespace papyrant {

namespace {

const QChar LineFeed = QLatin1Char('\n');
const QChar Blank = QLatin1Char(' ');

QString separator()
{
    return QString(45, QLatin1Char('_')) + LineFeed;
}

QString valueOr(const QString& value, const char* fallback)
{
    return isEmptyField(value) ? QLatin1String(fallback) : value;
}

// A blank pair becomes one blank, once, from the left: three blanks become two. Each
// position is final once passed, so the text is built in one walk.
QString collapseBlankPairsOnce(const QString& text)
{
    const qsizetype n = text.size();
    if (n == 0)
        return text;
    QString kept;
    kept.reserve(n);
    kept += text[0];
    qsizetype next = 1;
    for (qsizetype k = 0; k <= n - 2 && next < n; ++k) {
        if (kept.back() == Blank && text[next] == Blank)
            ++next;
        if (next < n)
            kept += text[next++];
    }
    kept += QStringView(text).mid(next);
    return kept;
}

// Puts the record set back where it was, whatever happens while the page is read, so the
// record on the edit tab stays the record being edited.
class PositionKeeper {
public:
    explicit PositionKeeper(RecordSet& records)
        : m_records(records)
        , m_position(records.absolutePosition())
    {
    }
    ~PositionKeeper()
    {
        try {
            if (m_position >= 0)
                m_records.setAbsolutePosition(m_position);
            else if (m_records.recordCount() > 0)
                m_records.moveFirst();
        } catch (...) {
        }
    }
    PositionKeeper(const PositionKeeper&) = delete;
    PositionKeeper& operator=(const PositionKeeper&) = delete;

private:
    RecordSet& m_records;
    int m_position;
};

QString recordBlock(const RecordSet& records, const std::array<int, ColumnCount>& columns, int recordNo,
    int resultCount, const SearchSnapshot& settings)
{
    const auto& names = fieldDisplayNames();
    QString block = QStringLiteral("Record No. ") + QString::number(recordNo) + QStringLiteral(" of ")
        + QString::number(resultCount);
    for (int j = 0; j < FieldCount; ++j) {
        if (!settings.options.outputFields[j])
            continue;
        const QString value = records.value(columns[j]);
        block += LineFeed + names[j] + QStringLiteral(" :   ") + (isEmptyField(value) ? QString() : value);
    }
    QString reference;
    if (settings.options.createReferences) {
        reference = LineFeed + QStringLiteral("References :  ")
            + recordReference(records.value(columns[Authors]), records.value(columns[Publishing_year]),
                records.value(columns[Title]), records.value(columns[Source]));
    }
    return block + LineFeed + reference + LineFeed + separator();
}

// True when a word character stands just before `at` (or just at it, when `before` is
// false); a character outside the basic plane is read from its two halves.
bool wordCharacterBeside(const QString& text, qsizetype at, bool before)
{
    if (before ? at <= 0 : at >= text.size())
        return false;
    const qsizetype i = before ? at - 1 : at;
    char32_t c = text[i].unicode();
    if (before && text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate())
        c = QChar::surrogateToUcs4(text[i - 1], text[i]);
    else if (!before && text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        c = QChar::surrogateToUcs4(text[i], text[i + 1]);
    return isWordCharacter(c);
}

// The marks of every occurrence of the word in a text already case-folded: one fold of the
// page serves every word, and the search itself is then an exact one. With edges, only
// occurrences that stand as a word on those sides, as the search found them.
int markOccurrences(const QString& foldedText, const QString& word, MarkColour colour, std::vector<TextMark>& marks,
    std::optional<WordEdges> edges = std::nullopt)
{
    if (word.isEmpty())
        return 0;
    const QString folded = word.toCaseFolded();
    const int length = static_cast<int>(folded.size());
    int count = 0;
    for (qsizetype at = foldedText.indexOf(folded); at >= 0;) {
        if (edges
            && ((edges->start && wordCharacterBeside(foldedText, at, true))
                || (edges->end && wordCharacterBeside(foldedText, at + length, false)))) {
            at = foldedText.indexOf(folded, at + 1);
            continue;
        }
        marks.push_back({static_cast<int>(at), length, colour, std::nullopt});
        ++count;
        at = foldedText.indexOf(folded, at + length);
    }
    return count;
}

} // namespace

QString recordReference(const QString& authors, const QString& year, const QString& title, const QString& source)
{
    QString reference = valueOr(authors, " Author is not available ") + QStringLiteral(" (")
        + valueOr(year, " Publishing year is not available ") + QStringLiteral("). ")
        + valueOr(title, " Title year is not available ") + QStringLiteral(", ")
        + valueOr(source, " Source is not available ") + QLatin1Char('.');
    for (QChar& c : reference) {
        if (c == LineFeed || c == QLatin1Char('\r'))
            c = Blank;
    }
    return collapseBlankPairsOnce(reference);
}

QString pageHeader(int resultCount, const SearchSnapshot& settings)
{
    const SearchOptions& options = settings.options;
    QString header = QStringLiteral("Search items :  ") + settings.summary;
    if (!options.allLanguages)
        header += LineFeed + QStringLiteral("Language is ") + options.language;
    if (!options.allYears) {
        header += LineFeed + QStringLiteral("Years");
        if (!options.yearFrom.isEmpty())
            header += QStringLiteral(" from ") + options.yearFrom;
        if (!options.yearTo.isEmpty())
            header += QStringLiteral(" to ") + options.yearTo;
    }
    if (options.sortChoice != QLatin1String("None"))
        header += LineFeed + QStringLiteral("Search result was sorted by ") + options.sortChoice;
    const QString found = resultCount == 0 ? QStringLiteral("no") : QString::number(resultCount);
    return header + LineFeed + QStringLiteral("This search revealed ") + found + QStringLiteral(" records") + LineFeed
        + separator() + LineFeed;
}

int ColourOccurrences(const QString& text, const QString& word, MarkColour colour, std::vector<TextMark>& marks,
    std::optional<WordEdges> edges)
{
    return markOccurrences(text.toCaseFolded(), word, colour, marks, edges);
}

PresentedPage PresentPage(RecordSet& records, int page, int resultCount, const SearchSnapshot& settings)
{
    PresentedPage shown;
    page = std::max(page, 0);
    shown.firstRecordNo = page * PageSize;
    QString body;
    body.reserve(PageSize * 4096);
    if (records.recordCount() > 0) {
        PositionKeeper keeper(records);
        std::array<int, ColumnCount> columns{};
        for (int c = 0; c < ColumnCount; ++c)
            columns[c] = records.columnIndex(columnName(c));
        records.moveFirst();
        if (page > 0)
            records.skip(page * PageSize);
        int recordNo = shown.firstRecordNo;
        while (shown.blockCount() < PageSize && !records.eof()) {
            body += recordBlock(records, columns, ++recordNo, resultCount, settings);
            shown.recordEnds.push_back(static_cast<int>(body.size()));
            records.moveNext();
        }
    }

    const QString header = pageHeader(resultCount, settings);
    shown.headerLength = static_cast<int>(header.size());
    shown.text = header + body;

    // Words first, then labels, so a label that holds a search word ends blue; the
    // header last, all bold and black.
    std::vector<TextMark>& marks = shown.marks;
    const QString folded = shown.text.toCaseFolded();
    for (int i = 0; i < CriteriaRowCount; ++i) {
        const auto edges = settings.options.wholeWordOnly ? std::optional(settings.highlightEdges[i]) : std::nullopt;
        markOccurrences(folded, settings.highlightWords[i], MarkColour::Red, marks, edges);
    }
    const auto& names = fieldDisplayNames();
    // Every label blue, "Category : " too: one colour for all of them.
    for (int i = 0; i <= Category; ++i)
        markOccurrences(folded, names[i] + QStringLiteral(" : "), MarkColour::Blue, marks);
    markOccurrences(folded, QStringLiteral("References : "), MarkColour::Blue, marks);
    marks.push_back({0, static_cast<int>(shown.text.size()), std::nullopt, false});
    marks.push_back({0, shown.headerLength, MarkColour::Black, true});
    return shown;
}

std::vector<FormatRun> formatRuns(int textLength, const std::vector<TextMark>& marks)
{
    std::vector<MarkColour> colours(static_cast<std::size_t>(textLength), MarkColour::Black);
    std::vector<char> bold(static_cast<std::size_t>(textLength), 0);
    for (const TextMark& mark : marks) {
        const int from = std::clamp(mark.start, 0, textLength);
        const int to = std::clamp(mark.start + mark.length, from, textLength);
        if (mark.colour)
            std::fill(colours.begin() + from, colours.begin() + to, *mark.colour);
        if (mark.bold)
            std::fill(bold.begin() + from, bold.begin() + to, *mark.bold ? 1 : 0);
    }
    std::vector<FormatRun> runs;
    for (int i = 0; i < textLength; ++i) {
        const bool isBold = bold[i] != 0;
        if (!runs.empty() && runs.back().colour == colours[i] && runs.back().bold == isBold)
            ++runs.back().length;
        else
            runs.push_back({i, 1, colours[i], isBold});
    }
    return runs;
}

ColourMarks colourMarks(const std::vector<FormatRun>& runs)
{
    ColourMarks marks;
    marks.reserve(runs.size());
    for (const FormatRun& run : runs) {
        const quint32 rgb = run.colour == MarkColour::Red ? RedRgb
            : run.colour == MarkColour::Blue              ? BlueRgb
                                                          : BlackRgb;
        marks.push_back({run.start, run.length, rgb, run.bold});
    }
    return marks;
}

QStringList pageList(int resultCount)
{
    if (resultCount <= 0)
        return {QStringLiteral("Record 0 of 0")};
    QStringList pages;
    for (int k = 0;; k += PageSize) {
        const int last = k + PageSize > resultCount ? resultCount : k + PageSize;
        pages << QStringLiteral("From ") + QString::number(k + 1) + QStringLiteral(" to ") + QString::number(last);
        if (k + PageSize >= resultCount)
            return pages;
    }
}

int recordUnderCaret(int caret, int headerLength, const std::vector<int>& recordEnds, int page)
{
    for (int k = 0; k < static_cast<int>(recordEnds.size()); ++k) {
        if (caret < headerLength + recordEnds[k])
            return k == 0 ? 0 : std::max(page, 0) * PageSize + k;
    }
    return 0;
}

QString pageNotice(const QString& pageItem, bool savingAll)
{
    return QStringLiteral("\n\nGetting ") + (savingAll ? QStringLiteral("and saving ") : QString())
        + QStringLiteral("records ") + pageItem;
}

QString printToolTip(const QString& pageItem)
{
    return QStringLiteral("Print viewed records, ") + pageItem;
}

QString saveToolTip(const QString& pageItem)
{
    return QStringLiteral("Save viewed records, ") + pageItem + QStringLiteral(", in a file");
}

QString copyToolTip(bool textSelected, const QString& pageItem)
{
    return textSelected ? QStringLiteral("Copy selected text") : QStringLiteral("Copy viewed records, ") + pageItem;
}

} // namespace papyrant
