#pragma once
// A bibliography or labels file opened for statements and record sets.

#include <QString>

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include <cstdint>
#include <memory>
#include <stdexcept>

namespace papyrant {

// An error of the record store; what() is the engine's own description.
class StoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The description of any error, as the messages show it after their fixed sentence.
QString errorText(const std::exception& error);

class Database {
public:
    // Opens an existing file for reading and writing; it is never created here.
    // Throws StoreError when the name does not lead to an ordinary file or the file
    // cannot be opened. Problems with its content (not a database, no Abstracts table)
    // surface at the first statement (checkBibliography finds them at once).
    explicit Database(const QString& path);
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    const QString& path() const { return m_path; }

    // Runs one statement that returns no rows (UPDATE, DELETE) and gives the rows it
    // changed. A text holding a second statement is refused before anything runs.
    int execute(const QString& sql);

    // How long a statement waits for another connection's lock before failing.
    void setBusyTimeout(int milliseconds);

    SQLite::Database& handle() { return *m_db; }

    // What this connection knows of the file's content: it changes whenever another
    // connection commits (data version), this one writes (its change total) or a
    // transaction of this one is rolled back.
    struct ChangeStamp {
        std::int64_t dataVersion = 0;
        std::int64_t ownChanges = 0;
        std::int64_t rollbacks = 0;
        bool operator==(const ChangeStamp&) const = default;
    };
    ChangeStamp changeStamp();
    std::int64_t ownChanges();
    std::int64_t rollbacks() const { return m_rollbacks; }

    // One batch of work: commits when commit() is called, rolls back otherwise.
    class Transaction {
    public:
        explicit Transaction(Database& db);
        void commit();

    private:
        SQLite::Transaction m_transaction;
    };

    static constexpr int DefaultBusyTimeoutMs = 1000;

private:
    void keepSelfContained();

    QString m_path;
    std::unique_ptr<SQLite::Database> m_db;
    std::unique_ptr<SQLite::Statement> m_dataVersion;
    std::int64_t m_rollbacks = 0;
};

// One use of a prepared statement: however the use ends, the statement is reset (a
// failed step keeps no lock and leaves no error for the next use) and its values unbound.
class StatementUse {
public:
    explicit StatementUse(SQLite::Statement& statement)
        : m_statement(statement)
    {
    }
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;
    ~StatementUse();

    SQLite::Statement* operator->() { return &m_statement; }

private:
    SQLite::Statement& m_statement;
};

// Runs the work and turns any error it raises into a StoreError with the same text.
template <typename Work>
auto storeCall(Work&& work)
{
    try {
        return work();
    } catch (const StoreError&) {
        throw;
    } catch (const std::exception& e) {
        throw StoreError(e.what());
    }
}

} // namespace papyrant
