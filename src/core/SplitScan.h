#pragma once
// Reading the keys of a search on several connections at once.
//
// A search tests every record, and the test (Like, WholeWord) costs far more than reading
// the record. The records are cut into ranges of row keys, the ranges tested on as many
// connections of their own, each on a thread of its own, and the keys put together in the
// order the statement asks for: range after range when it has no order, else sorted by
// the order column with that column's collation, records of equal value in key order, as
// the engine gives them on one connection.
//
// Only statements this can answer exactly are split; for any other (no Where, an order
// it cannot compare, the connection inside a transaction of its own, a small table) start
// gives nothing and the caller reads on its one connection as before. An engine error in
// any range also leaves the keys to the caller's own statement, which reports it.

#include "core/Database.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

struct sqlite3;

namespace papyrant {

// How many connections a search reads on: the machine's cores, at least two.
int scanConnectionCount();

class SplitScan {
public:
    // Starts reading the keys of "SELECT rowid FROM <table><tail>" (tail: " Where ...
    // [Order by ...]") on `connections` connections to the database's file, in the
    // background. Nothing when the statement is not split.
    //
    // With `prefilter` (a MATCH expression of the trigram index, see TrigramIndex.h) the
    // scan first asks the index, on a connection of its own, which records can hold the
    // words, and tests only those, one by one, with the same Where; when the index is
    // missing or damaged, or names too many records to gain anything, every range is read
    // as without it.
    static std::unique_ptr<SplitScan> start(Database& db, const QString& table, const QString& tail, int connections,
        const std::optional<QString>& prefilter = std::nullopt);
    SplitScan(const SplitScan&) = delete;
    SplitScan& operator=(const SplitScan&) = delete;
    ~SplitScan(); // stops a scan still running and waits for its threads

    // True once every range is read, or the scan failed or was stopped. Waits up to `wait`.
    bool finished(std::chrono::milliseconds wait = std::chrono::milliseconds(0));
    // Ranges read of all; a progress bar's value and maximum.
    int rangesDone() const { return m_rangesDone.load(); }
    int rangeCount() const { return m_rangeCount.load(); }
    // Whether the index chose the records tested (known once finished).
    bool usedIndex() const { return m_usedIndex.load(); }
    // Breaks off the statements running on the scan's connections.
    void stop();
    bool stopped() const { return m_stop.load(); }

    // Once finished: the keys in statement order (merged on the scan's last thread),
    // taken once; nothing when a range failed or the scan was stopped.
    std::optional<std::vector<std::int64_t>> keys();

    struct Keyed {
        std::int64_t key;
        std::optional<std::string> value; // the order value; nothing for NULL
    };
    enum class Collation { Binary, NoCase, RTrim };

private:
    struct Range {
        std::int64_t low = 0;
        std::int64_t high = 0;
        std::vector<Keyed> found;
    };
    SplitScan() = default;
    void work(bool planner);
    void plan(sqlite3* db);
    void merge();

    std::string m_path;
    std::string m_statement;
    std::string m_pointStatement; // the same test for one key: "... rowid = ?1 AND (...)"
    std::optional<QString> m_prefilter;
    std::vector<std::int64_t> m_candidates; // with the index: the keys tested, ranges index into it
    bool m_planned = true; // under m_lock; false until the planner has chosen the ranges
    std::atomic<int> m_rangeCount{0};
    std::atomic<bool> m_usedIndex{false};
    std::optional<Collation> m_collation;
    std::vector<Range> m_ranges;
    std::atomic<int> m_nextRange{0};
    std::atomic<int> m_rangesDone{0};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_failed{false};
    int m_running = 0; // threads still at work, under m_lock
    bool m_merged = false; // every thread has ended and the keys are merged, under m_lock
    std::vector<std::int64_t> m_keys; // in statement order, once merged
    std::mutex m_lock;
    std::condition_variable m_ended;
    std::vector<std::thread> m_threads;
};

// Starts a split scan and waits for its keys; nothing when it is not split or failed.
std::optional<std::vector<std::int64_t>> splitScanKeys(Database& db, const QString& table, const QString& tail,
    int connections, const std::optional<QString>& prefilter = std::nullopt);

} // namespace papyrant
