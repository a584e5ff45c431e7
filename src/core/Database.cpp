#include "core/Database.h"

#include "core/LikeMatcher.h"
#include "core/SqlText.h"

#include <sqlite3.h>

#include <filesystem>

namespace papyrant {
namespace {

// Why the name cannot be opened as a file, or nothing when it can. Opening a folder
// or a pipe would fail later with a vaguer text, or wait for a writer forever.
QString unusableFile(const QString& path)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path.toStdString(), ec);
    if (status.type() == fs::file_type::not_found)
        return QStringLiteral("the file %1 does not exist").arg(path);
    if (ec)
        return QStringLiteral("%1 cannot be reached: %2").arg(path, QString::fromStdString(ec.message()));
    if (fs::is_directory(status))
        return QStringLiteral("%1 is a folder, not a file").arg(path);
    if (!fs::is_regular_file(status))
        return QStringLiteral("%1 is not an ordinary file").arg(path);
    return QString();
}

using PreparedStatement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

// True when the text after a statement holds more than blanks, comments and semicolons.
bool holdsAnotherStatement(sqlite3* db, const char* tail, const char* end)
{
    while (tail < end) {
        sqlite3_stmt* raw = nullptr;
        const char* next = nullptr;
        const int rc = sqlite3_prepare_v2(db, tail, static_cast<int>(end - tail), &raw, &next);
        PreparedStatement statement(raw, &sqlite3_finalize);
        if (rc != SQLITE_OK || statement || next == tail)
            return rc != SQLITE_OK || statement;
        tail = next;
    }
    return false;
}

} // namespace

QString errorText(const std::exception& error)
{
    return QString::fromUtf8(error.what());
}

Database::Database(const QString& path)
    : m_path(path)
{
    if (path.isEmpty())
        throw StoreError("no database file is named");
    if (const QString reason = unusableFile(path); !reason.isEmpty())
        throw StoreError(reason.toStdString());
    try {
        m_db = std::make_unique<SQLite::Database>(path.toStdString(), SQLite::OPEN_READWRITE);
    } catch (const std::exception& e) {
        throw StoreError(e.what());
    }
    m_db->setBusyTimeout(DefaultBusyTimeoutMs);
    registerLikeFunction(m_db->getHandle());
    sqlite3_rollback_hook(
        m_db->getHandle(), [](void* self) { ++static_cast<Database*>(self)->m_rollbacks; }, this);
    keepSelfContained();
}

void Database::keepSelfContained()
{
    // A closed bibliography must be one file a user can copy: a file another tool
    // switched to write-ahead logging goes back to the rollback journal. Failures here
    // (not a database, locked) are left for the first real statement to report.
    try {
        SQLite::Statement mode(*m_db, "PRAGMA journal_mode");
        if (mode.executeStep()
            && QString::fromUtf8(mode.getColumn(0).getText()).compare("wal", Qt::CaseInsensitive) == 0) {
            mode.reset();
            m_db->exec("PRAGMA journal_mode = DELETE");
        }
    } catch (const std::exception&) {
    }
}

Database::~Database() = default;

int Database::execute(const QString& sql)
{
    const QByteArray text = translateStatement(sql).toUtf8();
    sqlite3* db = m_db->getHandle();
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    const int prepared = sqlite3_prepare_v2(db, text.constData(), static_cast<int>(text.size()), &raw, &tail);
    PreparedStatement statement(raw, &sqlite3_finalize);
    if (prepared != SQLITE_OK)
        throw StoreError(sqlite3_errmsg(db));
    if (!statement)
        throw StoreError("there is no statement to run");
    if (holdsAnotherStatement(db, tail, text.constData() + text.size()))
        throw StoreError("only one statement can be run at a time");
    int stepped = SQLITE_ROW;
    while (stepped == SQLITE_ROW)
        stepped = sqlite3_step(raw);
    if (stepped != SQLITE_DONE)
        throw StoreError(sqlite3_errmsg(db));
    return sqlite3_changes(db);
}

Database::ChangeStamp Database::changeStamp()
{
    return storeCall([&] {
        if (!m_dataVersion)
            m_dataVersion = std::make_unique<SQLite::Statement>(*m_db, "PRAGMA data_version");
        StatementUse use(*m_dataVersion);
        use->executeStep();
        return ChangeStamp{use->getColumn(0).getInt64(), ownChanges(), m_rollbacks};
    });
}

std::int64_t Database::ownChanges()
{
    return sqlite3_total_changes64(m_db->getHandle());
}

void Database::setBusyTimeout(int milliseconds)
{
    m_db->setBusyTimeout(milliseconds);
}

Database::Transaction::Transaction(Database& db)
    : m_transaction(db.handle())
{
}

void Database::Transaction::commit()
{
    try {
        m_transaction.commit();
    } catch (const std::exception& e) {
        throw StoreError(e.what());
    }
}

StatementUse::~StatementUse()
{
    m_statement.tryReset();
    try {
        m_statement.clearBindings();
    } catch (const std::exception&) {
        // nothing is left bound that could be used: the next use binds every value
    }
}

} // namespace papyrant
