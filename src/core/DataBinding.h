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
    // How many connections a refresh reads the record source's keys on (1: this one only).
    void setScanConnections(int connections) { m_scanConnections = connections; }

    // Runs the record source on the connection. Throws StoreError; on failure the previous
    // record set is kept.
    RecordSet& refresh();
    RecordSet& recordset();
    // Takes a record set of the source read elsewhere (a search in the background) as
    // the one a refresh would give; it must work on this binding's connection.
    void adopt(const QString& source, std::unique_ptr<RecordSet> records);
    bool hasRecordset() const { return m_recordset != nullptr; }
    // The connection the record set works on, taken from the bibliography on first use.
    Database& database();

    // Drops the record set and the connection: the next use opens the file afresh.
    void close();

private:
    Bibliography& m_bibliography;
    QString m_source;
    int m_scanConnections = 1;
    std::shared_ptr<Database> m_db;
    std::unique_ptr<RecordSet> m_recordset;
};

} // namespace papyrant
