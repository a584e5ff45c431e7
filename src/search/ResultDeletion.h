#pragma once
// Deleting every record of the current results from the bibliography, from the last
// row backwards, in timer ticks that share a transaction committed about twice a second.

#include "core/BatchTransaction.h"
#include "core/Database.h"
#include "core/FastDeletion.h"
#include "core/Prompts.h"
#include "core/Stepper.h"

#include <QString>

#include <SQLiteCpp/Statement.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace papyrant {

inline const QString DeletingRecordsText = QStringLiteral("Deleting records");
inline const QString RecordsDeletedText = QStringLiteral("Records were deleted");

// "Current results revealed <n> records." LF "Are you sure you want to delete all current
// results?", Yes and No with No as the default. True on Yes.
bool askDeleteAllResults(Prompts& prompts, int resultCount);

class ResultDeletion : public Stepper {
public:
    // keys: the result's records (RecordSet::rowKeys), deleted through db, the connection
    // of the results' record set, from the last row of the file backwards. The record set
    // holds keys of deleted rows afterwards: refresh its binding when the deletion ends.
    ResultDeletion(
        Database& db, std::vector<std::int64_t> keys, std::chrono::milliseconds commitInterval = BatchCommitInterval);
    ~ResultDeletion() override;
    ResultDeletion(const ResultDeletion&) = delete;
    ResultDeletion& operator=(const ResultDeletion&) = delete;

    // One tick: deletes records until the budget is spent or none remain, committing as
    // BatchTransaction says. A failure undoes what was not committed yet; the reason is
    // the engine's description.
    StepOutcome step(const TickBudget& budget) override;
    // Records deleted of all.
    StepProgress progress() const override { return {total() - remaining(), total()}; }

    int total() const { return m_total; }
    int remaining() const { return static_cast<int>(m_left); }

private:
    Database& m_db;
    std::vector<std::int64_t> m_keys;
    int m_total = 0;
    size_t m_left = 0; // keys before this one are not deleted yet
    FastDeletion m_fastDeletion; // for the deletion's length
    std::unique_ptr<SQLite::Statement> m_delete;
    BatchTransaction m_batch;
    QString m_error;
};

} // namespace papyrant
