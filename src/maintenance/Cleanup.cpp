#include "maintenance/Cleanup.h"

#include "core/DistinctValues.h"
#include "core/RecordSet.h"
#include "core/SqlText.h"

namespace papyrant {
namespace {

const QChar Quote = QLatin1Char('"');
const QChar LineFeed = QLatin1Char('\n');
const QString CategoryColumn = QStringLiteral("Abstracts.Category");
const QString EntryDateColumn = QStringLiteral("Abstracts.Entry_Date");

QString quoted(const QString& text)
{
    return Quote + text + Quote;
}

// Deletions ask Yes/No with the critical icon and No as the default.
bool confirmed(Prompts& prompts, const QString& text, const QString& title)
{
    return prompts.message(text, title, PromptButtons::YesNo, PromptIcon::Critical, PromptButton::No)
        == PromptButton::Yes;
}

// Merging asks OK/Cancel with the question icon and Cancel as the default.
bool mergeAccepted(Prompts& prompts, const QString& text)
{
    return prompts.message(text, programTitle(), PromptButtons::OkCancel, PromptIcon::Question, PromptButton::Cancel)
        == PromptButton::Ok;
}

// The records holding the value. The empty entry of a list stands for records without a
// value as well as for empty ones, so that renaming or deleting it reaches them.
QString valueCondition(const QString& column, const QString& value)
{
    const QString text = columnAsText(column);
    if (value.isEmpty())
        return QStringLiteral("(") + text + QStringLiteral(" IS NULL OR ") + text + QStringLiteral(" = '')");
    return text + QStringLiteral(" = ") + sqlLiteral(value);
}

// The columns ignore letter case, so a name the list holds in another case is that entry:
// storing it merges. Only the entry being renamed may differ from it in case alone.
bool mergesWithListed(const QString& oldValue, const QString& newValue, const QStringList& listed)
{
    if (newValue.compare(oldValue, Qt::CaseInsensitive) == 0)
        return false;
    return listed.contains(newValue, Qt::CaseInsensitive);
}

// The condition limited to one range of row keys ("?1" to "?2"), as RowRangeRun runs it.
QString inRange(const QString& condition)
{
    return QStringLiteral("Abstracts.rowid BETWEEN ?1 AND ?2 AND (") + condition + QLatin1Char(')');
}

// The deletion of the records meeting the condition, to run in ticks.
CleanupOutcome deletion(Bibliography& bibliography, const QString& condition)
{
    return {true, QString(),
        std::make_shared<RowRangeRun>(bibliography.database(),
            QStringLiteral("DELETE FROM Abstracts Where ") + inRange(condition), nullptr, true)};
}

int matchingRecords(Bibliography& bibliography, const QString& source)
{
    return RecordSet(bibliography.database(), source).recordCount();
}

// Runs one operation; a store failure is reported and changes nothing.
template <typename Operation>
CleanupOutcome guarded(Prompts& prompts, Operation&& operation)
{
    try {
        return operation();
    } catch (const std::exception& error) {
        prompts.notice(CleanupFailure + LineFeed + errorText(error));
        return {};
    }
}

// Gives every record holding the old value the new one: nothing when the answer is empty
// or unchanged, and only after the merge question when the new value is listed already.
CleanupOutcome moveValue(Bibliography& bibliography, Prompts& prompts, const QString& column, const QString& oldValue,
    const QString& newValue, const QStringList& listed, const QString& mergeQuestion)
{
    if (newValue.isEmpty() || newValue == oldValue)
        return {};
    if (mergesWithListed(oldValue, newValue, listed) && !mergeAccepted(prompts, mergeQuestion))
        return {};
    return guarded(prompts, [&]() -> CleanupOutcome {
        return {true, newValue,
            std::make_shared<RowRangeRun>(bibliography.database(),
                QStringLiteral("Update Abstracts SET %1 = ").arg(column) + sqlLiteral(newValue)
                    + QStringLiteral(" Where ") + inRange(valueCondition(column, oldValue)),
                nullptr, false)};
    });
}

} // namespace

QStringList readEntryDates(Bibliography& bibliography)
{
    return readDistinctValues(bibliography.database(),
        QStringLiteral("Select Distinct ") + columnAsText(QStringLiteral("Abstracts.Entry_Date"))
            + QStringLiteral(" From Abstracts"));
}

QString combinationLabel(const QString& category, const QString& date)
{
    if (category.isEmpty() || date.isEmpty())
        return QString();
    return QStringLiteral("Delete abstracts in category ") + quoted(category)
        + QStringLiteral(" Which were entered in ") + quoted(date);
}

CleanupOutcome deleteCategory(Bibliography& bibliography, Prompts& prompts, const QString& category)
{
    return guarded(prompts, [&]() -> CleanupOutcome {
        const int count = matchingRecords(bibliography,
            QStringLiteral("Select Abstracts.* From Abstracts Where (") + valueCondition(CategoryColumn, category)
                + QLatin1Char(')'));
        const QString question = quoted(category) + QStringLiteral(" category contain ") + QString::number(count)
            + QStringLiteral(" abstract") + (count == 1 ? QStringLiteral(".") : QStringLiteral("s.")) + LineFeed
            + QStringLiteral("Are you sure you want to delete this category with all its abstracts?");
        if (!confirmed(prompts, question, QStringLiteral("Delete category")))
            return {};
        return deletion(bibliography, valueCondition(CategoryColumn, category));
    });
}

CleanupOutcome renameCategory(
    Bibliography& bibliography, Prompts& prompts, const QString& category, const QStringList& listedCategories)
{
    const QString name = prompts.input(
        QStringLiteral("Please type the new category name"), QStringLiteral("Rename category"), category);
    return moveValue(bibliography, prompts, QStringLiteral("Category"), category, name, listedCategories,
        QStringLiteral("You already have category called ") + quoted(name) + LineFeed
            + QStringLiteral("Do you want to move all abstracts in category ") + quoted(category)
            + QStringLiteral(" to category ") + quoted(name) + QLatin1Char('?'));
}

CleanupOutcome deleteEntryDate(Bibliography& bibliography, Prompts& prompts, const QString& date)
{
    return guarded(prompts, [&]() -> CleanupOutcome {
        const QString condition = valueCondition(EntryDateColumn, date);
        const QString where = QStringLiteral("Where (") + condition + QLatin1Char(')');
        const int count = matchingRecords(bibliography, QStringLiteral("Select Abstracts.* From Abstracts ") + where);
        if (count == 0) {
            prompts.notice(QStringLiteral("Can't delete this Abstract"));
            return {};
        }
        // Two blanks stand between "were" and "added", as the message always had them.
        const QString question = QString::number(count) + QStringLiteral(" record")
            + (count == 1 ? QStringLiteral(" was ") : QStringLiteral("s were  ")) + QStringLiteral("added in ") + date
            + LineFeed + QStringLiteral("Are you sure you want to delete all these records?");
        if (!confirmed(prompts, question, QStringLiteral("Delete records")))
            return {};
        return deletion(bibliography, condition);
    });
}

CleanupOutcome changeEntryDate(
    Bibliography& bibliography, Prompts& prompts, const QString& date, const QStringList& listedDates)
{
    const QString newDate
        = prompts.input(QStringLiteral("Please type the new date"), QStringLiteral("Change entry date"), date);
    return moveValue(bibliography, prompts, QStringLiteral("Entry_Date"), date, newDate, listedDates,
        QStringLiteral("You already have abstracts were entered in ") + quoted(newDate) + LineFeed
            + QStringLiteral("Do you want to move all the abstracts which were entered in ") + quoted(date)
            + QStringLiteral(" to ") + quoted(newDate) + QLatin1Char('?'));
}

CleanupOutcome deleteCombination(
    Bibliography& bibliography, Prompts& prompts, const QString& category, const QString& date)
{
    return guarded(prompts, [&]() -> CleanupOutcome {
        const QString condition = valueCondition(CategoryColumn, category) + QStringLiteral(" and ")
            + valueCondition(EntryDateColumn, date);
        const QString where = QStringLiteral("Where (") + condition + QLatin1Char(')');
        const int count = matchingRecords(bibliography, QStringLiteral("Select Abstracts.* From Abstracts ") + where);
        if (count == 0) {
            prompts.notice(QStringLiteral("There are no abstracts in this combination"));
            return {};
        }
        const QString question = quoted(category) + QStringLiteral(" category contain ") + QString::number(count)
            + QStringLiteral(" abstract") + (count == 1 ? QStringLiteral(" was") : QStringLiteral("s were"))
            + QStringLiteral(" entered in ") + date + LineFeed
            + QStringLiteral("Are you sure you want to delete these abstracts?");
        if (!confirmed(prompts, question, QStringLiteral("Delete Abstracts")))
            return {};
        return deletion(bibliography, condition);
    });
}

} // namespace papyrant
