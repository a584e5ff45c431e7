#pragma once
// Builds the search index of a large bibliography, and brings any index up to date, on a
// thread and a connection of its own, so the control panel never waits for it. The panel
// runs it while it is the screen in front and stops it before a screen, another
// bibliography or the end of the program takes the file: stopping interrupts the
// transaction under way, which loses at most its half second of work.

#include "core/Stepper.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

struct sqlite3;

namespace papyrant {

// A file with fewer records is searched fast enough by reading it, and is not made larger
// by an index unless it has one already.
inline constexpr std::int64_t IndexFromRecords = 50000;

class SearchIndexUpkeep {
public:
    enum class State { Working, UpToDate, NotIndexed, Stopped, Failed };

    // Starts at once on the file at path.
    explicit SearchIndexUpkeep(QString path, std::int64_t indexFromRecords = IndexFromRecords);
    ~SearchIndexUpkeep(); // stops
    SearchIndexUpkeep(const SearchIndexUpkeep&) = delete;
    SearchIndexUpkeep& operator=(const SearchIndexUpkeep&) = delete;

    // Interrupts the work and waits for the thread, a few milliseconds; what was committed
    // stays, and the next run goes on from there.
    void stop();

    State state() const { return m_state.load(); }
    // Thousandths of the file's keys the index covers, while Working.
    int permille() const { return m_permille.load(); }
    // Why it Failed: the engine's words.
    QString failure() const;
    const QString& path() const { return m_path; }

private:
    void run();

    const QString m_path;
    const std::int64_t m_indexFromRecords;
    std::atomic<State> m_state{State::Working};
    std::atomic<int> m_permille{0};
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_mutex; // guards m_connection against its closing, and m_failure
    sqlite3* m_connection = nullptr;
    QString m_failure;
    std::thread m_thread;
};

} // namespace papyrant
