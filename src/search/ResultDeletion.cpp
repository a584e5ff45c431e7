#include "search/ResultDeletion.h"

#include <algorithm>
#include <string>

namespace papyrant {

bool askDeleteAllResults(Prompts& prompts, int resultCount)
{
    const QString question = QStringLiteral("Current results revealed ") + QString::number(resultCount)
        + QStringLiteral(" records.\nAre you sure you want to delete all current results?");
    // No is the default: an Enter pressed by habit must not delete thousands of records.
    return prompts.message(question, programTitle(), PromptButtons::YesNo, PromptIcon::None, PromptButton::No)
        == PromptButton::Yes;
}

ResultDeletion::ResultDeletion(Database& db, std::vector<std::int64_t> keys, std::chrono::milliseconds commitInterval)
    : m_db(db)
    , m_keys(std::move(keys))
    , m_total(static_cast<int>(m_keys.size()))
    , m_left(m_keys.size())
    , m_batch(db, commitInterval)
{
    // The order of deletion changes nothing in the outcome, but file order does: a result
    // sorted by title deletes four times faster when its rows go from the file's end.
    std::sort(m_keys.begin(), m_keys.end());
    // Zeroing every freed page of a deleted record (the secure-delete setting some SQLite
    // builds default to) costs five times the deletion itself: its old content must go
    // to the journal first. FAST still clears what lies on the pages that are written anyway.
    try {
        m_secureDelete = db.handle().execAndGet("PRAGMA secure_delete").getInt();
        db.handle().exec("PRAGMA secure_delete = FAST");
    } catch (const std::exception&) {
        m_secureDelete = -1; // the deletion works without it, only slower
    }
}

ResultDeletion::~ResultDeletion()
{
    m_batch.rollback();
    if (m_secureDelete < 0)
        return;
    try {
        m_db.handle().exec(m_secureDelete == 2 ? std::string("PRAGMA secure_delete = FAST")
                                               : "PRAGMA secure_delete = " + std::to_string(m_secureDelete));
    } catch (const std::exception&) {
    }
}

BatchState ResultDeletion::step(const TickBudget& budget)
{
    if (!m_error.isEmpty())
        return BatchState::Failed;
    try {
        if (!m_delete)
            m_delete = std::make_unique<SQLite::Statement>(m_db.handle(), "DELETE FROM Abstracts WHERE rowid = ?");
        m_batch.begin();
        while (m_left > 0) {
            m_delete->tryReset();
            m_delete->bind(1, static_cast<int64_t>(m_keys[m_left - 1]));
            m_delete->exec();
            --m_left;
            if (budget.spent())
                break;
        }
        // Keys leave the list only once committed, so after a failure the list matches the file.
        if (m_batch.commitIfDue(m_left == 0))
            m_keys.resize(m_left);
    } catch (const std::exception& e) {
        m_batch.rollback();
        if (m_delete)
            m_delete->tryReset();
        m_left = m_keys.size();
        m_error = errorText(e);
        return BatchState::Failed;
    }
    return m_left == 0 ? BatchState::Finished : BatchState::Running;
}

} // namespace papyrant
