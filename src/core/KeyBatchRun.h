#pragma once
// One statement run over a result's keys, a slice of keys at a time, in timer ticks that
// share a transaction committed about twice a second (delete all, a category for every
// result, the copy into another bibliography).
//
// Each slice goes to the engine in one call as a JSON array of keys, so the engine opens
// its cursors once per slice rather than once per record; the slice grows while a call
// takes under a few milliseconds and shrinks when it takes longer, so a tick still ends
// near its budget. Before each slice the watch says whether the file changed since the
// keys were read (ResultKeys.h); from then on the statement tests each row against the
// search's condition too and the rows passed over are counted. The commit runs aside
// (BatchTransaction::startCommit), so no tick waits for the disk.

#include "core/BatchTransaction.h"
#include "core/Database.h"
#include "core/ResultKeys.h"
#include "core/Stepper.h"

#include <SQLiteCpp/Statement.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace papyrant {

// Something that says whether the keys still name the rows the search found: the result's
// own connection (KeyWatch) or the copy's view of the open bibliography.
using StaleTest = std::function<bool()>;

class KeyBatchRun : public Stepper {
public:
    // statement: the work for one slice, with "?1" for the keys' JSON array and "%1" where
    // the search's condition goes once the keys are stale (" AND (<condition>)"), e.g.
    // "DELETE FROM Abstracts WHERE rowid IN (SELECT value FROM json_each(?1))%1".
    // bindMore binds the statement's other values (from ?2 on). stale is asked before every
    // slice, inside the transaction; ownWrites is told after every slice. Throws StoreError
    // when the statement cannot be prepared.
    KeyBatchRun(Database& db, std::vector<std::int64_t> keys, const QString& statement, const QString& condition,
        StaleTest stale, std::function<void()> ownWrites, std::function<void(SQLite::Statement&)> bindMore,
        std::chrono::milliseconds commitInterval);
    ~KeyBatchRun() override;
    KeyBatchRun(const KeyBatchRun&) = delete;
    KeyBatchRun& operator=(const KeyBatchRun&) = delete;

    // One tick: slices until the budget is spent or every key is done, committing as
    // BatchTransaction says. A failure undoes what was not committed yet and the counts go
    // back to what was; the reason is the engine's description.
    StepOutcome step(const TickBudget& budget) override;
    StepProgress progress() const override { return {static_cast<int>(m_next), total()}; }

    int total() const { return static_cast<int>(m_keys.size()); }
    // Keys handled and committed.
    int handled() const { return static_cast<int>(m_committedNext); }
    // Rows the statement changed, and keys passed over because their row no longer met the
    // search, both as committed.
    std::int64_t changed() const { return m_changed; }
    std::int64_t skipped() const { return m_skipped; }

private:
    SQLite::Statement& statementFor(bool stale);
    void noteCommitted();

    Database& m_db;
    std::vector<std::int64_t> m_keys;
    QString m_statement;
    QString m_condition;
    StaleTest m_stale;
    std::function<void()> m_ownWrites;
    std::function<void(SQLite::Statement&)> m_bindMore;
    std::unique_ptr<SQLite::Statement> m_trusted;
    std::unique_ptr<SQLite::Statement> m_checked;
    BatchTransaction m_batch;
    std::string m_slice; // the JSON array of the current slice, kept between slices
    std::size_t m_sliceLength = 1; // grows from one key, so a first tick stays short
    std::size_t m_next = 0;
    std::size_t m_committedNext = 0;
    std::int64_t m_changed = 0;
    std::int64_t m_skipped = 0;
    std::int64_t m_pendingChanged = 0;
    std::int64_t m_pendingSkipped = 0;
    QString m_error;
};

} // namespace papyrant
