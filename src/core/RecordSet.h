#pragma once
// Rows of a statement, walked one at a time.
//
// A statement over one table that selects whole rows ("Select Abstracts.* From Abstracts
// Where ...", or a bare table name) gives an updatable set: it keeps only the row keys in
// statement order and reads a row's values when the row becomes current, so a million-row
// set costs megabytes. Any other statement (DISTINCT, chosen columns) gives a read-only
// snapshot of its values.

#include "core/Database.h"

#include <QString>
#include <QStringList>

#include <SQLiteCpp/Statement.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace papyrant {

class RecordSet {
public:
    // Runs the source (a table name or a SELECT text) at once. Throws StoreError.
    RecordSet(Database& db, const QString& source);
    RecordSet(const RecordSet&) = delete;
    RecordSet& operator=(const RecordSet&) = delete;
    ~RecordSet();

    bool updatable() const { return m_keyed; }
    int recordCount() const;
    bool eof() const;
    bool bof() const;
    // True when a record is current (not before the start, past the end or just deleted).
    bool hasCurrent() const;

    void moveFirst();
    void moveLast();
    void moveNext();
    void movePrevious();
    // Moves forward over up to n records and gives how many were passed.
    int skip(int n);

    // 0-based position of the current record; -1 when there is none.
    int absolutePosition() const;
    void setAbsolutePosition(int position);

    const QStringList& columnNames() const { return m_columns; }
    int columnIndex(const QString& name) const; // case-insensitive; -1 when absent

    // The current record's value (or the pending value while adding or editing).
    QString value(int column) const;
    QString value(const QString& column) const;
    void setValue(int column, const QString& text);
    void setValue(const QString& column, const QString& text);

    void addNew();
    void edit();
    // Stores the pending row. A new row goes to the end of the set; the record that was
    // current before addNew stays current (the new one when there was none).
    void update();
    void cancelUpdate();
    bool editing() const { return m_mode != Mode::Browse; }

    // Deletes the current record; until the next move there is no current record.
    void deleteCurrent();

    // Position of the record the last update stored; -1 when none.
    int lastModifiedPosition() const;

    void close();
    bool isOpen() const { return m_open; }

    // The keys (rowids) of the set's rows in set order, for work over the whole result
    // (copy, delete all, category) that runs one prepared statement per key.
    std::vector<std::int64_t> rowKeys() const;
    // Values are read again at the next access: a statement changed rows of the set.
    void rereadValues() { m_loaded = false; }

private:
    enum class Mode { Browse, Adding, Editing };

    void requireOpen() const;
    void requireCurrent() const;
    void requireUpdatable() const;
    void leavePending();
    void loadCurrent() const;
    SQLite::Statement& cachedStatement(std::unique_ptr<SQLite::Statement>& slot, const std::string& sql);

    Database& m_db;
    bool m_open = true;
    bool m_keyed = false;
    QString m_table;
    QStringList m_columns;

    std::vector<std::int64_t> m_keys; // keyed sets
    std::vector<std::vector<QString>> m_rows; // snapshots
    int m_position = -1; // -1 before start, count past end
    bool m_currentDeleted = false;

    Mode m_mode = Mode::Browse;
    std::vector<std::optional<QString>> m_pending; // values set since addNew or edit
    std::optional<std::int64_t> m_lastModifiedKey;

    mutable std::int64_t m_loadedKey = 0;
    mutable bool m_loaded = false;
    mutable std::vector<QString> m_current;
    mutable std::unique_ptr<SQLite::Statement> m_fetch;
    std::unique_ptr<SQLite::Statement> m_insert;
    std::vector<std::string> m_bound; // texts of the row being inserted
};

} // namespace papyrant
