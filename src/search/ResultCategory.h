#pragma once
// Putting every record of the current results into one category, in timer ticks that
// share a transaction committed about twice a second, so the window paints and the
// progress bar moves however many records the result holds.

#include "core/Database.h"
#include "core/KeyBatchRun.h"
#include "core/ResultKeys.h"
#include "core/RoomyCache.h"
#include "core/Stepper.h"

#include <QString>

#include <memory>
#include <string>

namespace papyrant {

class DataBinding;
class RecordSet;

class ResultCategoryRun : public Stepper {
public:
    // keys: the result's records (RecordSet::resultKeys), changed through db, the
    // connection of the results' record set, in ascending key order so each page of the
    // file is written once. When another program changed the file since the search, only
    // rows that still meet the search are changed. Throws StoreError.
    ResultCategoryRun(Database& db, ResultKeys keys, const QString& category,
        std::chrono::milliseconds commitInterval = BatchCommitInterval);
    ~ResultCategoryRun() override;
    ResultCategoryRun(const ResultCategoryRun&) = delete;
    ResultCategoryRun& operator=(const ResultCategoryRun&) = delete;

    StepOutcome step(const TickBudget& budget) override { return m_run->step(budget); }
    StepProgress progress() const override { return m_run->progress(); }

    // Records changed, and records passed over because they no longer met the search, as
    // committed.
    std::int64_t changed() const { return m_run->changed(); }
    std::int64_t skipped() const { return m_run->skipped(); }

    // After the run: the record set reads its values again (the current record stays
    // current and shows the new category), and keys that were right stay trusted.
    void settle(RecordSet& records) const;

private:
    std::string m_category; // bound, not spliced into the text: Crohn's stays one value
    // Rewritten rows are journalled first: pages spilled before the commit would sync the
    // journal in the middle of a tick.
    RoomyCache m_cache;
    Database::ChangeStamp m_before;
    KeyWatch m_watch;
    std::unique_ptr<KeyBatchRun> m_run;
};

// The whole run at once, for work that needs no window: gives the number of records
// changed. Throws StoreError; then what was not committed is undone.
int putResultsIntoCategory(DataBinding& results, const QString& category);

} // namespace papyrant
