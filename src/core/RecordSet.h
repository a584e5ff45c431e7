#pragma once
// Rows of a statement, walked one at a time.
//
// A statement over one table that selects whole rows ("Select Abstracts.* From Abstracts
// Where ...", or a bare table name) gives an updatable set: it keeps only the row keys in
// statement order and reads a row's values when the row becomes current, so a million-row
// set costs megabytes. Any other statement (DISTINCT, chosen columns) gives a read-only
// snapshot of its values.
//
// A store call that fails leaves the set as it was (same position, same pending values),
// so it can be retried. An update or delete writes only into the row this set read: when
// anything else may have changed the file since the keys were read, the row must still
// hold what was read, or nothing is written.

#include "core/Database.h"
#include "core/KeyList.h"
#include "core/ResultKeys.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <SQLiteCpp/Statement.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace papyrant {

class RecordSet {
public:
    // Runs the source (a table name or a SELECT text) at once. Throws StoreError. With
    // more than one scan connection, a whole-row source with a Where reads its keys on
    // that many connections at once (see SplitScan.h), with the same result.
    RecordSet(Database& db, const QString& source, int scanConnections = 1);
    // A whole-row source whose keys were read elsewhere (a search in the background), in
    // set order, with the connection's stamp taken before they were read.
    RecordSet(Database& db, const QString& source, std::vector<std::int64_t> keys, Database::ChangeStamp stamp);
    // Runs a whole-row source with an order and reads one more column of every row in
    // the same sorted pass as the keys, handing the values to sideValue in set order. A
    // scan that compares one column of neighbouring records then reads no row for it.
    // Throws StoreError, also for a source that is not a whole-row one with an order.
    RecordSet(Database& db, const QString& source, const QString& sideColumn,
        const std::function<void(const QString&)>& sideValue);
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
    // Names the current record for the life of the set, whatever is removed before it:
    // its position when the set was opened (added records follow on). -1 when none.
    int currentSlot() const;

    const QStringList& columnNames() const { return m_columns; }
    int columnIndex(const QString& name) const; // case-insensitive; -1 when absent

    // The current record's value (or the pending value while adding or editing).
    QString value(int column) const;
    QString value(const QString& column) const;
    void setValue(int column, const QString& text);
    void setValue(const QString& column, const QString& text);

    // An add writes only the columns it set; the others get the table's defaults. Many
    // adds inside one Database::Transaction run one prepared statement.
    void addNew();
    void edit();
    // Stores the pending row. A new row goes to the end of the set; the record that was
    // current before addNew stays current (the new one when there was none). Throws
    // StoreError(ChangedOutside) when the edited row is no longer the one read.
    void update();
    void cancelUpdate();
    bool editing() const { return m_mode != Mode::Browse; }

    // Deletes the current record, in O(log n); until the next move there is no current
    // record. Throws StoreError(ChangedOutside) when the row is gone or another one.
    void deleteCurrent();

    // Position of the record the last update stored; -1 when none.
    int lastModifiedPosition() const;

    void close();
    bool isOpen() const { return m_open; }

    // The text of the error raised when a write finds its row changed or deleted.
    static const char* const ChangedOutside;

    // The keys (rowids) of the set's rows in set order, for work over the whole result
    // (copy, delete all, category) that runs one prepared statement per key.
    std::vector<std::int64_t> rowKeys() const;
    // The keys with what tells whether they still name the rows the statement found.
    ResultKeys resultKeys() const;
    // Work over the keys took the file from `before` to `after` by its own writes on the
    // set's connection, nothing else writing meanwhile (KeyWatch::known): when the keys were
    // right before, they still are.
    void noteOwnBatch(const Database::ChangeStamp& before, const Database::ChangeStamp& after);
    // Values are read again at the next access: a statement changed rows of the set.
    void rereadValues() { m_loadedKey.reset(); }

private:
    enum class Mode { Browse, Adding, Editing };
    using Stored = std::optional<QByteArray>; // a value's bytes as stored; nothing for NULL

    void readSource(const QString& source, const QString& sideColumn,
        const std::function<void(const QString&)>* sideValue, int scanConnections);
    void requireOpen() const;
    void requireCurrent() const;
    void requireUpdatable() const;
    void leavePending();
    void arriveAt(int position);
    void loadCurrent() const;
    void collectPending(); // the set columns and their UTF-8 texts, for the write
    void insertPending();
    void updatePending();
    // The statement for this kind of write and these columns, prepared on first use.
    SQLite::Statement& writeStatement(char kind, const std::vector<int>& columns, bool checked);
    void bindStoredValues(SQLite::Statement& statement, int firstIndex) const;
    // True when nothing but this set wrote since its keys were read.
    bool keysTrusted();
    void noteOwnWrite(bool trusted);

    Database& m_db;
    bool m_open = true;
    bool m_keyed = false;
    QString m_table;
    QString m_condition; // the source's Where condition
    QStringList m_columns;

    KeyList m_keys; // keyed sets
    std::vector<std::vector<QString>> m_rows; // snapshots
    int m_position = -1; // -1 before start, count past end
    bool m_currentDeleted = false;
    Database::ChangeStamp m_stamp; // the file as this set's keys know it

    Mode m_mode = Mode::Browse;
    std::vector<std::optional<QString>> m_pending; // values set since addNew or edit
    std::optional<int> m_lastModifiedSlot;

    mutable std::optional<KeyList::Key> m_loadedKey; // the row read last, as read
    mutable std::vector<QString> m_current;
    mutable std::vector<Stored> m_currentStored;
    mutable std::unique_ptr<SQLite::Statement> m_fetch;
    std::map<std::string, std::unique_ptr<SQLite::Statement>> m_writes;
    std::vector<int> m_writeColumns;
    std::vector<std::string> m_utf8; // texts of m_writeColumns, buffers kept between writes
};

} // namespace papyrant
