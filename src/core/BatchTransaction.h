#pragma once
// The transaction that the timer ticks of long work (extraction, auto remove, copy, delete
// all) share.

#include "core/Database.h"

#include <QElapsedTimer>

#include <chrono>
#include <future>
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
    ~BatchTransaction() { finishCommit(); }
    BatchTransaction(const BatchTransaction&) = delete;
    BatchTransaction& operator=(const BatchTransaction&) = delete;

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
    void rollback()
    {
        finishCommit();
        m_transaction.reset();
    }

    // The commit's disk syncs take from a few to a few hundred milliseconds on a busy disk,
    // far beyond a tick. Work that must never hold the window that long hands the commit to
    // a worker thread and asks in the following ticks whether it has ended; the connection
    // is left alone meanwhile (the screen is locked, and the stepper does nothing else).
    // With an interval of 0 the commit stays in the tick, so the order of commits is the
    // order of ticks.
    bool commitsAside() const { return m_interval > 0; }
    void startCommit()
    {
        m_commit = std::async(std::launch::async, [this] { m_transaction->commit(); });
    }
    bool committing() const { return m_commit.valid(); }
    // Waits up to waitMs for the commit started aside: true once it has ended. Throws
    // StoreError when it failed; the batch is then rolled back.
    bool commitEnded(qint64 waitMs)
    {
        if (m_commit.wait_for(std::chrono::milliseconds(std::max<qint64>(waitMs, 0))) != std::future_status::ready)
            return false;
        try {
            std::exchange(m_commit, {}).get();
        } catch (...) {
            m_transaction.reset();
            throw;
        }
        m_transaction.reset();
        return true;
    }

private:
    void finishCommit()
    {
        if (m_commit.valid()) {
            try {
                std::exchange(m_commit, {}).get();
            } catch (...) {
            }
        }
    }

    Database& m_db;
    qint64 m_interval;
    std::optional<Database::Transaction> m_transaction;
    QElapsedTimer m_age;
    std::future<void> m_commit; // the commit under way aside; ends before the transaction goes
};

} // namespace papyrant
