#include "core/DataBinding.h"

#include "core/Bibliography.h"

namespace papyrant {

DataBinding::DataBinding(Bibliography& bibliography)
    : m_bibliography(bibliography)
{
}

DataBinding::~DataBinding()
{
    // The record set goes before the connection it reads through.
    m_recordset.reset();
}

Database& DataBinding::database()
{
    if (!m_db)
        m_db = m_bibliography.connection();
    return *m_db;
}

RecordSet& DataBinding::refresh()
{
    auto fresh = std::make_unique<RecordSet>(database(), m_source, m_scanConnections);
    m_recordset = std::move(fresh);
    return *m_recordset;
}

void DataBinding::adopt(const QString& source, std::unique_ptr<RecordSet> records)
{
    m_source = source;
    m_recordset = std::move(records);
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
    m_bibliography.closeConnection();
}

} // namespace papyrant
