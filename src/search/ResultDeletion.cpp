#include "search/ResultDeletion.h"

#include <algorithm>

namespace papyrant {

bool askDeleteAllResults(Prompts& prompts, int resultCount)
{
    const QString question = QStringLiteral("Current results revealed ") + QString::number(resultCount)
        + QStringLiteral(" records.\nAre you sure you want to delete all current results?");
    // No is the default: an Enter pressed by habit must not delete thousands of records.
    return prompts.message(question, programTitle(), PromptButtons::YesNo, PromptIcon::None, PromptButton::No)
        == PromptButton::Yes;
}

ResultDeletion::ResultDeletion(Database& db, ResultKeys keys, std::chrono::milliseconds commitInterval)
    : m_fastDeletion(db)
    , m_cache(db)
    , m_watch(db, keys.stamp)
{
    std::sort(keys.keys.begin(), keys.keys.end());
    m_run = std::make_unique<KeyBatchRun>(
        db, std::move(keys.keys),
        QStringLiteral("DELETE FROM Abstracts WHERE rowid IN (SELECT value FROM json_each(?1))%1"), keys.condition,
        [this] { return m_watch.stale(); }, [this] { m_watch.followOwnWrites(); }, nullptr, commitInterval);
}

ResultDeletion::~ResultDeletion() = default;

} // namespace papyrant
