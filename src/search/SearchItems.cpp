#include "search/SearchItems.h"

namespace papyrant {

bool rowSwitchedOn(const CriteriaRows& rows, int i)
{
    return i == 0 || !rows[i - 1].words.isEmpty();
}

QString searchSummary(const CriteriaRows& rows)
{
    QString summary;
    for (int i = 0; i < CriteriaRowCount; ++i) {
        if (!rowSwitchedOn(rows, i))
            continue;
        const CriteriaRow& row = rows[i];
        summary += row.openBrackets + row.words + row.closeBrackets;
        // The row after this one is switched on exactly when this one holds words.
        if (i < CriteriaRowCount - 1 && !row.words.isEmpty() && !rows[i + 1].words.isEmpty())
            summary += QLatin1Char(' ') + row.op + QLatin1Char(' ');
    }
    return summary;
}

CriteriaRows tidiedRows(CriteriaRows rows)
{
    // Emptying a row switches the next one off, so the loop empties that one too.
    for (int i = 0; i < CriteriaRowCount; ++i) {
        if (rowSwitchedOn(rows, i))
            continue;
        rows[i].openBrackets.clear();
        rows[i].words.clear();
        rows[i].closeBrackets.clear();
    }
    return rows;
}

QString highlightWord(const QString& words)
{
    QString word = words;
    for (;;) {
        const QString before = word;
        for (QChar mark : {QLatin1Char('*'), QLatin1Char('?')}) {
            if (word.endsWith(mark))
                word.chop(1);
            if (word.startsWith(mark))
                word.remove(0, 1);
        }
        if (word == before)
            return word;
    }
}

HighlightWords highlightWords(const CriteriaRows& rows)
{
    HighlightWords words;
    for (int i = 0; i < CriteriaRowCount; ++i)
        words[i] = highlightWord(rows[i].words);
    return words;
}

} // namespace papyrant
