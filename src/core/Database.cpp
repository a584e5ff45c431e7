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
