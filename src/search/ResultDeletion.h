#pragma once
// Deleting every record of the current results from the bibliography, in file order, in
// timer ticks that share a transaction committed about twice a second.

#include "core/Database.h"
#include "core/FastDeletion.h"
#include "core/KeyBatchRun.h"
#include "core/Prompts.h"
#include "core/ResultKeys.h"
#include "core/RoomyCache.h"
#include "core/Stepper.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace papyrant {

inline const QString DeletingRecordsText = QStringLiteral("Deleting records");
inline const QString RecordsDeletedText = QStringLiteral("Records were deleted");

// "Current results revealed <n> records." LF "Are you sure you want to delete all current
// results?", Yes and No with No as the default. True on Yes.
bool askDeleteAllResults(Prompts& prompts, int resultCount);

class ResultDeletion : public Stepper {
public:
    // keys: the result's records (RecordSet::resultKeys), deleted through db, the
    // connection of the results' record set, in ascending key order: each page of the
    // file is then visited once, where the result's own order (by title) would jump
    // about the file and take several times as long. The record set holds keys of deleted
    // rows afterwards: refresh its binding when the deletion ends. When another program
    // changed the file since the search, only rows that still meet the search go.
    ResultDeletion(Database& db, ResultKeys keys, std::chrono::milliseconds commitInterval = BatchCommitInterval);
    ~ResultDeletion() override;
    ResultDeletion(const ResultDeletion&) = delete;
    ResultDeletion& operator=(const ResultDeletion&) = delete;

    // One tick: deletes records until the budget is spent or none remain, committing as
    // BatchTransaction says. A failure undoes what was not committed yet; the reason is
    // the engine's description.
    StepOutcome step(const TickBudget& budget) override { return m_run->step(budget); }
    // Keys handled of all.
    StepProgress progress() const override { return m_run->progress(); }

    int total() const { return m_run->total(); }
    // Keys not handled yet, as committed.
    int remaining() const { return m_run->total() - m_run->handled(); }
    // Records deleted, and records passed over because they no longer met the search, as
    // committed.
    std::int64_t deleted() const { return m_run->changed(); }
    std::int64_t skipped() const { return m_run->skipped(); }

private:
    FastDeletion m_fastDeletion; // for the deletion's length
    // Deleting rewrites pages the file holds, each journalled first: pages spilled before the
    // commit would sync the journal in the middle of a tick.
    RoomyCache m_cache;
    KeyWatch m_watch;
    std::unique_ptr<KeyBatchRun> m_run; // before m_fastDeletion goes: rolled back first
};

} // namespace papyrant
