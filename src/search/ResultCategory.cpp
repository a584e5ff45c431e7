#include "search/ResultCategory.h"

#include "core/DataBinding.h"
#include "core/RecordSet.h"

#include <algorithm>

namespace papyrant {

ResultCategoryRun::ResultCategoryRun(
    Database& db, ResultKeys keys, const QString& category, std::chrono::milliseconds commitInterval)
    : m_category(category.toStdString())
    , m_cache(db)
    , m_before(keys.stamp)
    , m_watch(db, keys.stamp)
{
    std::sort(keys.keys.begin(), keys.keys.end());
    m_run = std::make_unique<KeyBatchRun>(
        db, std::move(keys.keys),
        QStringLiteral("UPDATE Abstracts SET Category = ?2 WHERE rowid IN (SELECT value FROM json_each(?1))%1"),
        keys.condition, [this] { return m_watch.stale(); }, [this] { m_watch.followOwnWrites(); },
        [this](SQLite::Statement& statement) { statement.bindNoCopy(2, m_category); }, commitInterval);
}

ResultCategoryRun::~ResultCategoryRun() = default;

void ResultCategoryRun::settle(RecordSet& records) const
{
    records.rereadValues();
    records.noteOwnBatch(m_before, m_watch.known());
}

int putResultsIntoCategory(DataBinding& results, const QString& category)
{
    RecordSet& records = results.recordset();
    ResultCategoryRun run(results.database(), records.resultKeys(), category);
    const StepOutcome outcome = runToEnd(run);
    run.settle(records);
    if (outcome.kind == StepOutcome::Kind::Failed)
        throw StoreError(outcome.reason.toStdString());
    return static_cast<int>(run.changed());
}

} // namespace papyrant
