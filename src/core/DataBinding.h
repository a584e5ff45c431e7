#pragma once
// A data binding: a database path, a record source and the record set it yields.

#include "core/Database.h"
#include "core/RecordSet.h"

#include <QString>

#include <memory>

namespace papyrant {

class DataBinding {
public:
    explicit DataBinding(QString databasePath = QString());
    ~DataBinding();

    void setDatabasePath(const QString& path);
    const QString& databasePath() const { return m_path; }
    void setRecordSource(const QString& source) { m_source = source; }
    const QString& recordSource() const { return m_source; }

    // Opens the database when needed and runs the record source. Throws StoreError;
    // on failure the previous record set is kept.
    RecordSet& refresh();
    RecordSet& recordset();
    bool hasRecordset() const { return m_recordset != nullptr; }
    Database& database(); // opens it when needed

    void close();

private:
    QString m_path;
    QString m_source;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<RecordSet> m_recordset;
};

} // namespace papyrant
