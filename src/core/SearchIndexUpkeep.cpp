#include "core/SearchIndexUpkeep.h"

#include "core/Database.h"
#include "core/TrigramIndex.h"

#include <sqlite3.h>

#include <chrono>
#include <utility>

namespace papyrant {
namespace {

// The thread's transactions last about half a second, as whole-result work commits: few
// enough commits that the disk is not the bottleneck, little enough lost when the panel
// stops the work.
constexpr std::chrono::milliseconds TransactionLength{500};

// Whether the file has at least `records` records, without counting a million of them.
bool hasAtLeast(Database& db, std::int64_t records)
{
    SQLite::Statement count(db.handle(), "SELECT count(*) FROM (SELECT 1 FROM Abstracts LIMIT ?1)");
    count.bind(1, static_cast<int64_t>(records));
    return count.executeStep() && count.getColumn(0).getInt64() >= records;
}

} // namespace

SearchIndexUpkeep::SearchIndexUpkeep(QString path, std::int64_t indexFromRecords)
    : m_path(std::move(path))
    , m_indexFromRecords(indexFromRecords)
    , m_thread([this] { run(); })
{
}

SearchIndexUpkeep::~SearchIndexUpkeep()
{
    stop();
}

void SearchIndexUpkeep::stop()
{
    m_stopping = true;
    {
        std::lock_guard lock(m_mutex);
        if (m_connection)
            sqlite3_interrupt(m_connection);
    }
    if (m_thread.joinable())
        m_thread.join();
}

QString SearchIndexUpkeep::failure() const
{
    std::lock_guard lock(m_mutex);
    return m_failure;
}

void SearchIndexUpkeep::run()
{
    State end = State::UpToDate;
    QString reason;
    try {
        Database db(m_path);
        struct Published {
            SearchIndexUpkeep& upkeep;
            Published(SearchIndexUpkeep& u, sqlite3* connection)
                : upkeep(u)
            {
                std::lock_guard lock(upkeep.m_mutex);
                upkeep.m_connection = connection;
            }
            // The connection is withdrawn before it closes, so stop() never interrupts a
            // closed one.
            ~Published()
            {
                std::lock_guard lock(upkeep.m_mutex);
                upkeep.m_connection = nullptr;
            }
        } published(*this, db.handle().getHandle());
        if (m_stopping)
            throw StoreError("stopped");
        if (!hasTrigramIndex(db) && !hasAtLeast(db, m_indexFromRecords)) {
            end = State::NotIndexed;
        } else {
            // Merging the index's segments reads back what it wrote a moment ago.
            db.handle().exec("PRAGMA cache_size = -65536");
            TrigramIndexBuild build(db);
            StepOutcome outcome;
            do {
                outcome = build.step(TickBudget(TransactionLength));
                const StepProgress progress = build.progress();
                if (progress.total > 0)
                    m_permille = progress.done * 1000 / progress.total;
            } while (outcome.ongoing() && !m_stopping);
            if (outcome.kind == StepOutcome::Kind::Failed) {
                end = State::Failed;
                reason = outcome.reason;
            } else if (outcome.ongoing()) {
                end = State::Stopped;
            }
        }
    } catch (const std::exception& error) {
        end = State::Failed;
        reason = errorText(error);
    }
    if (m_stopping && end != State::UpToDate && end != State::NotIndexed)
        end = State::Stopped; // an interrupted statement is no failure
    {
        std::lock_guard lock(m_mutex);
        m_failure = reason;
    }
    m_state = end;
}

} // namespace papyrant
