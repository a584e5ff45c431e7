#pragma once
// One statement over every record of the bibliography, a range of row keys at a time, in
// timer ticks that share a transaction committed about twice a second: renaming, merging
// or deleting a category, changing or deleting an entry date. Run as one statement it
// would freeze the window for the whole file; in ranges the window paints between ticks
// and a bar shows how far the keys are.
//
// The range grows while a slice takes under a few milliseconds and shrinks when it takes
// longer, so a tick ends near its budget whatever share of the records the statement
// changes. The commit runs aside (BatchTransaction::startCommit), so no tick waits for the
// disk.

#include "core/BatchTransaction.h"
#include "core/Database.h"
#include "core/FastDeletion.h"
#include "core/RoomyCache.h"
#include "core/Stepper.h"

#include <SQLiteCpp/Statement.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace papyrant {

class RowRangeRun : public Stepper {
public:
    // statement: the work for one range, "?1" its lowest key and "?2" its highest, e.g.
    // "UPDATE Abstracts SET Category = ?3 WHERE rowid BETWEEN ?1 AND ?2 AND (...)";
    // bindMore binds its other values. A deleting run frees pages fast (FastDeletion).
    // Covers the keys the bibliography holds when it is made. Throws StoreError.
    RowRangeRun(Database& db, const QString& statement, std::function<void(SQLite::Statement&)> bindMore, bool deletes,
        std::chrono::milliseconds commitInterval = BatchCommitInterval);
    ~RowRangeRun() override;
    RowRangeRun(const RowRangeRun&) = delete;
    RowRangeRun& operator=(const RowRangeRun&) = delete;

    // One tick: ranges until the budget is spent or the last key is covered, committing as
    // BatchTransaction says. A failure undoes what was not committed yet; the reason is the
    // engine's description.
    StepOutcome step(const TickBudget& budget) override;
    // Keys covered of all, scaled to fit a progress bar.
    StepProgress progress() const override;
    // Records changed, as committed.
    std::int64_t changed() const { return m_changed; }

private:
    void noteCommitted();

    std::optional<FastDeletion> m_fastDeletion;
    std::unique_ptr<SQLite::Statement> m_statement;
    std::function<void(SQLite::Statement&)> m_bindMore;
    RoomyCache m_cache; // for the run's length
    BatchTransaction m_batch; // after m_cache: ends before the cache shrinks
    std::int64_t m_first = 1; // lowest key not covered yet
    std::int64_t m_committedFirst = 1;
    std::int64_t m_low = 1; // lowest and highest key when the run was made
    std::int64_t m_high = 0;
    std::int64_t m_width = 64; // keys a range spans
    std::int64_t m_changed = 0;
    std::int64_t m_pendingChanged = 0;
    QString m_error;
};

} // namespace papyrant
