#include "core/Database.h"

#include "core/LikeMatcher.h"
#include "core/SqlText.h"

#include <QFileInfo>

#include <sqlite3.h>

namespace papyrant {

QString errorText(const std::exception& error)
{
    return QString::fromUtf8(error.what());
}

Database::Database(const QString& path)
    : m_path(path)
{
    if (path.isEmpty())
        throw StoreError("no database file is named");
    if (!QFileInfo(path).isFile())
        throw StoreError(QStringLiteral("the file %1 does not exist").arg(path).toStdString());
    try {
        m_db = std::make_unique<SQLite::Database>(path.toStdString(), SQLite::OPEN_READWRITE);
    } catch (const std::exception& e) {
        throw StoreError(e.what());
    }
    m_db->setBusyTimeout(DefaultBusyTimeoutMs);
    registerLikeFunction(m_db->getHandle());
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
    try {
        return m_db->exec(translateStatement(sql).toStdString());
    } catch (const std::exception& e) {
        throw StoreError(e.what());
    }
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

} // namespace papyrant
