#pragma once
// The transaction that the timer ticks of long work (extraction, auto remove, copy, delete
// all) share.

#include "core/Database.h"

#include <QElapsedTimer>

#include <chrono>
#include <optional>

namespace papyrant {

// A commit makes the disk sync, which costs as much as a whole 15 ms tick of work on a
// busy disk; committing every tick would double a long copy or auto remove. So the ticks
// of a batch share one transaction for about half a second: the window still repaints
// after every tick, a failure undoes at most that half second of work, and the screen is
// disabled meanwhile, so nothing else reads or writes between the ticks.
inline constexpr std::chrono::milliseconds BatchCommitInterval{500};

class BatchTransaction {
public:
    // interval 0 commits at the end of every tick.
    BatchTransaction(Database& db, std::chrono::milliseconds interval)
        : m_db(db)
        , m_interval(interval.count())
    {
    }

    void begin()
    {
        if (!m_transaction) {
            m_transaction.emplace(m_db);
            m_age.start();
        }
    }
    // True when a commit falls due within the next `withinMs` milliseconds, so a tick can
    // keep time for it.
    bool due(qint64 withinMs = 0) const { return m_transaction && m_age.elapsed() + withinMs >= m_interval; }
    // Commits when the transaction is old enough, or always when finishing.
    // Gives true when it committed.
    bool commitIfDue(bool finishing)
    {
        if (!m_transaction || (!finishing && m_age.elapsed() < m_interval))
            return false;
        m_transaction->commit();
        m_transaction.reset();
        return true;
    }
    void rollback() { m_transaction.reset(); }

private:
    Database& m_db;
    qint64 m_interval;
    std::optional<Database::Transaction> m_transaction;
    QElapsedTimer m_age;
};

} // namespace papyrant
