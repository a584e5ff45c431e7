#include "maintenance/Cleanup.h"

#include "core/DistinctValues.h"
#include "core/RecordSet.h"
#include "core/SqlText.h"

namespace papyrant {
namespace {

const QChar Quote = QLatin1Char('"');
const QChar LineFeed = QLatin1Char('\n');
// Values another tool stored as bytes count as their text.
const QString CategoryText = columnAsText(QStringLiteral("Abstracts.Category"));
const QString EntryDateText = columnAsText(QStringLiteral("Abstracts.Entry_Date"));

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
        prompts.notice(QStringLiteral("Can't change the bibliography") + LineFeed + errorText(error));
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
    if (listed.contains(newValue) && !mergeAccepted(prompts, mergeQuestion))
        return {};
    return guarded(prompts, [&]() -> CleanupOutcome {
        bibliography.database().execute(QStringLiteral("Update Abstracts SET %1 = ").arg(column) + sqlLiteral(newValue)
            + QStringLiteral(" Where ") + columnAsText(column) + QStringLiteral(" = ") + sqlLiteral(oldValue));
        return {true, newValue};
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
            QStringLiteral("Select Abstracts.* From Abstracts Where (") + CategoryText + QStringLiteral(" = ")
                + sqlLiteral(category) + QLatin1Char(')'));
        const QString question = quoted(category) + QStringLiteral(" category contain ") + QString::number(count)
            + QStringLiteral(" abstract") + (count == 1 ? QStringLiteral(".") : QStringLiteral("s.")) + LineFeed
            + QStringLiteral("Are you sure you want to delete this category with all its abstracts?");
        if (!confirmed(prompts, question, QStringLiteral("Delete category")))
            return {};
        bibliography.database().execute(QStringLiteral("Delete Abstracts.* From Abstracts Where ") + CategoryText
            + QStringLiteral(" = ") + sqlLiteral(category));
        return {true, QString()};
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
        const QString where
            = QStringLiteral("Where (") + EntryDateText + QStringLiteral(" = ") + sqlLiteral(date) + QLatin1Char(')');
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
        bibliography.database().execute(QStringLiteral("Delete Abstracts.* From Abstracts ") + where);
        return {true, QString()};
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
        const QString where = QStringLiteral("Where (") + CategoryText + QStringLiteral(" = ") + sqlLiteral(category)
            + QStringLiteral(" and ") + EntryDateText + QStringLiteral(" = ") + sqlLiteral(date) + QLatin1Char(')');
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
        bibliography.database().execute(QStringLiteral("Delete Abstracts.* From Abstracts ") + where);
        return {true, QString()};
    });
}

} // namespace papyrant
