#pragma once
// Running a composed statement as the record source of the results binding.
//
// The engine still refuses some statements that compose without complaint: brackets typed
// into the words so that the parentheses do not pair up, or words with no searched column
// (the row term is then "()"). Such a refusal must not cost the user the results on screen,
// so the binding keeps its previous source and record set and the caller gets the engine's
// own description to show.

#include "core/Database.h"
#include "core/RecordSet.h"
#include "core/SplitScan.h"
#include "core/Stepper.h"

#include <QString>

#include <memory>
#include <optional>

namespace papyrant {

class DataBinding;

struct SearchOutcome {
    bool accepted = false; // the statement ran and is now the binding's record source
    int recordCount = 0; // records found, when accepted
    QString engineError; // the engine's description, when refused
};

// Makes the statement the binding's record source and runs it. Never throws a store error:
// a refusal comes back in the outcome, with the binding as it was before.
SearchOutcome runSearchStatement(DataBinding& binding, const QString& statement);

// The message the results screen shows for a refused statement: a fixed sentence, a line
// feed and the engine's description.
QString refusedSearchMessage(const QString& engineError);

// A search as long work: the first step starts a split scan that reads the keys on
// connections of its own in the background while the window goes on; each later step
// waits for them at most half its tick. A statement that is not split (small files,
// orders it cannot compare) runs at once in the first step on the binding's connection; a range the engine refuses
// sends the statement there too, so the user reads the engine's own words. Stop breaks off the scan; the job then ends
// with no result and whatever was on screen stays.
class SearchJob final : public Stepper {
public:
    // With a prefilter (the trigram index's MATCH expression) the records the index names
    // are tested instead of all, when the file has a sound index.
    SearchJob(Database& db, QString statement, std::optional<QString> prefilter = std::nullopt);
    StepOutcome step(const TickBudget& budget) override;
    // Ranges of the file read of all (0 of 0 until the scan starts, and for a search that
    // runs at once).
    StepProgress progress() const override;

    void stop();
    bool stopped() const { return m_stopped; }
    // After the job is done, and not stopped: the record set of the result, once.
    std::unique_ptr<RecordSet> takeResult() { return std::move(m_result); }
    const QString& statement() const { return m_statement; }

private:
    Database& m_db;
    QString m_statement;
    std::optional<QString> m_prefilter;
    bool m_started = false;
    bool m_stopped = false;
    Database::ChangeStamp m_stamp;
    std::unique_ptr<SplitScan> m_scan;
    std::unique_ptr<RecordSet> m_result;
};

// Makes a finished job's result the binding's record source and set; a refused statement
// leaves the binding as it was, as runSearchStatement does.
SearchOutcome adoptSearchResult(DataBinding& binding, SearchJob& job, const StepOutcome& outcome);

} // namespace papyrant
