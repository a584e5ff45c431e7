#include "search/QueryComposition.h"

#include "core/SqlText.h"
#include "core/TrigramIndex.h"

#include <cstdlib>

namespace papyrant {

namespace {

const QString NotOperator = QStringLiteral("Not");

// A row is negated by a "Not" chosen after the row before it.
bool isNegated(const CriteriaRows& rows, int i)
{
    return i > 0 && rows[i - 1].op == NotOperator;
}

// The test of one column for a row's words. Whole words: the words must match a whole
// word of the field (bounded by its edges or by characters that are no letters or
// digits), as WholeWord decides. Otherwise anywhere in the field, as the colour marks
// find them.
QString columnTest(const QString& column, bool negated, bool wholeWords, const QString& body)
{
    const QString field = QStringLiteral("Abstracts.") + column;
    const QString notWord = negated ? QStringLiteral("Not ") : QString();
    if (wholeWords)
        return QStringLiteral("( ") + notWord + QStringLiteral("WholeWord(") + field + QStringLiteral(", '") + body
            + QStringLiteral("') )");
    return QStringLiteral("( ") + field + QLatin1Char(' ') + notWord + QStringLiteral("Like '*") + body
        + QStringLiteral("*' )");
}

QString rowTerm(const CriteriaRows& rows, int i, const SearchOptions& options)
{
    const CriteriaRow& row = rows[i];
    const bool negated = isNegated(rows, i);
    const QString joiner = negated ? QStringLiteral(" And ") : QStringLiteral(" or ");
    const QString body = sqlLiteralBody(row.words);

    QString term;
    for (int c = 0; c < SearchableColumnCount; ++c) {
        if (!options.searchedColumns[c])
            continue;
        if (!term.isEmpty())
            term += joiner;
        term += columnTest(searchableColumnNames()[c], negated, options.wholeWordOnly, body);
    }
    term = row.openBrackets + QLatin1Char('(') + term + QLatin1Char(')') + row.closeBrackets;

    if (i < CriteriaRowCount - 1 && !rows[i + 1].words.isEmpty()) {
        // A negated row always continues with And: "A Not B Or C" reads A and not B and C.
        QString junction;
        if (negated || row.op == NotOperator)
            junction = QStringLiteral(" And ");
        else
            junction = QLatin1Char(' ') + row.op + QLatin1Char(' ');
        term += QLatin1Char(' ') + junction + QLatin1Char(' ');
    }
    return term;
}

QString yearsClause(const SearchOptions& options)
{
    const QString from = options.yearFrom.isEmpty()
        ? QString()
        : QLatin1Char('(') + columnAsText(QStringLiteral("Abstracts.Publishing_year")) + QStringLiteral(" >= '")
            + sqlLiteralBody(options.yearFrom) + QStringLiteral("' )");
    const QString to = options.yearTo.isEmpty()
        ? QString()
        : QLatin1Char('(') + columnAsText(QStringLiteral("Abstracts.Publishing_year")) + QStringLiteral(" <= '")
            + sqlLiteralBody(options.yearTo) + QStringLiteral("' )");
    if (!from.isEmpty() && !to.isEmpty())
        return QLatin1Char('(') + from + QStringLiteral(" And ") + to + QLatin1Char(')');
    return QLatin1Char('(') + from + to + QLatin1Char(')');
}

QString categoriesClause(const std::vector<CategoryChoice>& categories)
{
    QString clause;
    for (const CategoryChoice& category : categories) {
        if (!category.selected)
            continue;
        if (!clause.isEmpty())
            clause += QStringLiteral(" OR ");
        clause += QLatin1Char('(') + columnAsText(QStringLiteral("Abstracts.Category")) + QStringLiteral(" = '")
            + sqlLiteralBody(category.name) + QStringLiteral("' )");
    }
    return QLatin1Char('(') + clause + QLatin1Char(')');
}

bool everyCategorySelected(const std::vector<CategoryChoice>& categories)
{
    for (const CategoryChoice& category : categories) {
        if (!category.selected)
            return false;
    }
    return true;
}

} // namespace

const std::array<QString, SearchableColumnCount>& searchableColumnNames()
{
    static const std::array<QString, SearchableColumnCount> names{
        QStringLiteral("Title"),
        QStringLiteral("Authors"),
        QStringLiteral("Author_address"),
        QStringLiteral("Source"),
        QStringLiteral("Keywords"),
        QStringLiteral("Publication_type"),
        QStringLiteral("Abstract"),
    };
    return names;
}

std::optional<QString> CheckBrackets(const CriteriaRows& rows)
{
    qsizetype open = 0;
    qsizetype close = 0;
    for (const CriteriaRow& row : rows) {
        // Brackets left in a row without words play no part in the search.
        if (row.words.isEmpty())
            continue;
        open += row.openBrackets.size();
        close += row.closeBrackets.size();
    }
    if (open == close)
        return std::nullopt;
    return QStringLiteral("Incorrect number of brackets\nYou have ") + QString::number(std::abs(open - close))
        + (close > open ? QStringLiteral(" more close brackets") : QStringLiteral(" less close brackets"));
}

std::optional<QString> TrigramPrefilter(const CriteriaRows& rows, const SearchOptions& options)
{
    std::vector<QString> words;
    for (int i = 0; i < CriteriaRowCount; ++i) {
        if (rows[i].words.isEmpty())
            continue;
        if (isNegated(rows, i))
            return std::nullopt;
        const bool joined = i < CriteriaRowCount - 1 && !rows[i + 1].words.isEmpty();
        if (joined && rows[i].op != QLatin1String("And"))
            return std::nullopt;
        words.push_back(rows[i].words);
    }
    std::vector<QString> columns;
    for (int c = 0; c < SearchableColumnCount; ++c) {
        if (options.searchedColumns[c])
            columns.push_back(searchableColumnNames()[c]);
    }
    return trigramMatch(words, columns);
}

QString ComposeQuery(const CriteriaRows& rows, const SearchOptions& options)
{
    QString words;
    for (int i = 0; i < CriteriaRowCount; ++i) {
        if (!rows[i].words.isEmpty())
            words += rowTerm(rows, i, options);
    }
    if (!words.isEmpty())
        words = QLatin1Char('(') + words + QLatin1Char(')');

    QString where;
    auto append = [&where](const QString& clause) {
        if (clause.isEmpty())
            return;
        if (!where.isEmpty())
            where += QStringLiteral(" And ");
        where += clause;
    };
    if (!options.allYears)
        append(yearsClause(options));
    if (!options.allLanguages)
        append(QLatin1Char('(') + columnAsText(QStringLiteral("Abstracts.Language")) + QStringLiteral(" = '")
            + sqlLiteralBody(options.language) + QStringLiteral("' )"));
    if (!everyCategorySelected(options.categories))
        append(categoriesClause(options.categories));
    append(words);

    QString statement = QStringLiteral("Select Abstracts.* From Abstracts");
    if (!where.isEmpty())
        statement += QStringLiteral(" Where ") + where;
    if (options.sortChoice != QLatin1String("None"))
        statement += QStringLiteral(" Order by ") + columnAsText(options.sortColumn);
    return statement;
}

} // namespace papyrant
