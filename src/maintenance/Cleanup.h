#pragma once
// The cleanup tab's work: categories and entry dates exist only as values of the records,
// so each operation is one statement over Abstracts, run after the user confirmed it.
// Values go into the statements through the quoting helper, so a category such as
// Crohn's disease is renamed like any other.
//
// Each operation works on the open bibliography's connection and asks its questions through
// the prompts; the change itself comes back as work to run in ticks (RowRangeRun), so the
// window paints while a category of a million records is renamed. A store failure is
// reported as "Can't change the bibliography" (CleanupFailure) with the engine's
// description: by the operation while it asks, by the tick driver while the work runs.

#include "core/Bibliography.h"
#include "core/Prompts.h"
#include "core/RowRangeRun.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace papyrant {

inline const QString CleanupFailure = QStringLiteral("Can't change the bibliography");

// What an operation will do to the records and the lists of the tab.
struct CleanupOutcome {
    bool changed = false; // records change: both lists are read again once the work ends
    QString shown; // what the changed list shows afterwards (the new name or date)
    std::shared_ptr<RowRangeRun> work; // the change, to run to its end; none when nothing changes
};

// The distinct entry dates, in the order the engine gives them. Throws StoreError.
QStringList readEntryDates(Bibliography& bibliography);

// "Delete abstracts in category "C" Which were entered in "D"", or empty unless both are given.
QString combinationLabel(const QString& category, const QString& date);

CleanupOutcome deleteCategory(Bibliography& bibliography, Prompts& prompts, const QString& category);
// Renaming onto a listed name merges the two categories, after asking.
CleanupOutcome renameCategory(
    Bibliography& bibliography, Prompts& prompts, const QString& category, const QStringList& listedCategories);
CleanupOutcome deleteEntryDate(Bibliography& bibliography, Prompts& prompts, const QString& date);
// Any text is accepted as the new date; a listed one merges the two dates, after asking.
CleanupOutcome changeEntryDate(
    Bibliography& bibliography, Prompts& prompts, const QString& date, const QStringList& listedDates);
CleanupOutcome deleteCombination(
    Bibliography& bibliography, Prompts& prompts, const QString& category, const QString& date);

} // namespace papyrant
