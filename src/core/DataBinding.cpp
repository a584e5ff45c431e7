#include "core/DataBinding.h"

namespace papyrant {

DataBinding::DataBinding(QString databasePath)
    : m_path(std::move(databasePath))
{
}

DataBinding::~DataBinding()
{
    close();
}

void DataBinding::setDatabasePath(const QString& path)
{
    if (path != m_path)
        close();
    m_path = path;
}

Database& DataBinding::database()
{
    if (!m_db)
        m_db = std::make_unique<Database>(m_path);
    return *m_db;
}

RecordSet& DataBinding::refresh()
{
    auto fresh = std::make_unique<RecordSet>(database(), m_source);
    m_recordset = std::move(fresh);
    return *m_recordset;
}

RecordSet& DataBinding::recordset()
{
    if (!m_recordset)
        throw StoreError("the data binding has no record set");
    return *m_recordset;
}

void DataBinding::close()
{
    m_recordset.reset();
    m_db.reset();
}

} // namespace papyrant
