#pragma once
// A record source over the open bibliography: a table name or statement and the record set
// it yields, on the bibliography's connection.

#include "core/Database.h"
#include "core/RecordSet.h"

#include <QString>

#include <memory>

namespace papyrant {

class Bibliography;

class DataBinding {
public:
    explicit DataBinding(Bibliography& bibliography);
    ~DataBinding();
    DataBinding(const DataBinding&) = delete;
    DataBinding& operator=(const DataBinding&) = delete;

    void setRecordSource(const QString& source) { m_source = source; }
    const QString& recordSource() const { return m_source; }

    // Runs the record source on the connection. Throws StoreError; on failure the previous
    // record set is kept.
    RecordSet& refresh();
    RecordSet& recordset();
    bool hasRecordset() const { return m_recordset != nullptr; }
    // The connection the record set works on, taken from the bibliography on first use.
    Database& database();

    // Drops the record set and the connection: the next use opens the file afresh.
    void close();

private:
    Bibliography& m_bibliography;
    QString m_source;
    std::shared_ptr<Database> m_db;
    std::unique_ptr<RecordSet> m_recordset;
};

} // namespace papyrant
