#pragma once
// A bibliography or labels file opened for statements and record sets.

#include <QString>

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Transaction.h>

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
    // Throws StoreError when the file cannot be opened. Problems with its content
    // (not a database, no Abstracts table) surface at the first statement.
    explicit Database(const QString& path);
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    const QString& path() const { return m_path; }

    // Runs a statement that returns no rows (UPDATE, DELETE) and gives the rows it changed.
    int execute(const QString& sql);

    // How long a statement waits for another connection's lock before failing.
    void setBusyTimeout(int milliseconds);

    SQLite::Database& handle() { return *m_db; }

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
};

} // namespace papyrant
