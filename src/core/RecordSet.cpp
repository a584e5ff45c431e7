#include "core/RecordSet.h"

#include "core/SplitScan.h"
#include "core/SqlText.h"

#include <QRegularExpression>
#include <QStringEncoder>

#include <algorithm>

namespace papyrant {
namespace {

struct KeyedSource {
    QString table;
    QString tail; // what follows the table name: Where and Order by
    QString condition; // between Where and Order by
    bool ordered = false;
};

// Recognises "Select [T.]* From T [Where ...] [Order by ...]" and bare table names.
std::optional<KeyedSource> keyedSource(const QString& source)
{
    static const QRegularExpression tableName(QStringLiteral(R"(^\s*([A-Za-z_][A-Za-z0-9_]*)\s*$)"));
    if (auto m = tableName.match(source); m.hasMatch()) {
        const QString table = m.captured(1);
        return KeyedSource{table, QString(), QString(), false};
    }
    static const QRegularExpression wholeRows(
        QStringLiteral(
            R"(^\s*select\s+(?:([A-Za-z_][A-Za-z0-9_]*)\s*\.\s*)?\*\s+from\s+([A-Za-z_][A-Za-z0-9_]*)(\s+(?:where|order)\b.*|\s*)$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QString plain = withoutLiterals(source);
    const auto m = wholeRows.match(plain);
    if (!m.hasMatch())
        return std::nullopt;
    const QString qualifier = m.captured(1);
    const QString table = m.captured(2);
    if (!qualifier.isEmpty() && qualifier.compare(table, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    static const QRegularExpression orderBy(
        QStringLiteral(R"(\border\s+by\b)"), QRegularExpression::CaseInsensitiveOption);
    KeyedSource keyed;
    keyed.table = table;
    keyed.tail = source.mid(m.capturedStart(3));
    const auto order = orderBy.match(plain, m.capturedStart(3));
    keyed.ordered = order.hasMatch();
    static const QRegularExpression where(QStringLiteral(R"(^\s+where\b)"), QRegularExpression::CaseInsensitiveOption);
    if (const auto w = where.match(m.captured(3)); w.hasMatch()) {
        const qsizetype from = m.capturedStart(3) + w.capturedEnd();
        keyed.condition = source.mid(from, (order.hasMatch() ? order.capturedStart() : source.size()) - from);
    }
    return keyed;
}

QString textOf(const SQLite::Column& column)
{
    if (column.isNull())
        return QString();
    return QString::fromUtf8(static_cast<const char*>(column.getBlob()), column.getBytes());
}

// A column name as it goes into a statement, whatever another tool called it.
QString quotedName(const QString& name)
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

// The text as UTF-8 in a buffer kept from write to write, so adding many records
// allocates nothing per value.
void convertToUtf8(const QString& text, std::string& bytes)
{
    QStringEncoder toUtf8(QStringEncoder::Utf8);
    bytes.resize(toUtf8.requiredSpace(text.size()));
    bytes.resize(toUtf8.appendToBuffer(bytes.data(), text) - bytes.data());
}

} // namespace

const char* const RecordSet::ChangedOutside = "This record was changed or deleted outside this screen.";

RecordSet::RecordSet(Database& db, const QString& source, int scanConnections)
    : m_db(db)
{
    readSource(source, QString(), nullptr, scanConnections);
}

RecordSet::RecordSet(Database& db, const QString& source, const QString& sideColumn,
    const std::function<void(const QString&)>& sideValue)
    : m_db(db)
{
    readSource(source, sideColumn, &sideValue, 1);
}

RecordSet::RecordSet(Database& db, const QString& source, std::vector<std::int64_t> keys, Database::ChangeStamp stamp)
    : m_db(db)
{
    storeCall([&] {
        const auto keyed = keyedSource(source);
        if (!keyed)
            throw StoreError("keys read elsewhere need a whole-row source");
        m_keyed = true;
        m_table = keyed->table;
        SQLite::Statement columns(m_db.handle(), QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(m_table).toStdString());
        for (int i = 0; i < columns.getColumnCount(); ++i)
            m_columns << QString::fromUtf8(columns.getColumnName(i));
        m_stamp = stamp;
        m_keys = KeyList(std::move(keys));
        return 0;
    });
    m_position = recordCount() > 0 ? 0 : -1;
}

void RecordSet::readSource(const QString& source, const QString& sideColumn,
    const std::function<void(const QString&)>* sideValue, int scanConnections)
{
    storeCall([&] {
        const auto keyed = keyedSource(source);
        // Keys of a source without an order are sorted after reading, which its side
        // values would not follow.
        if (sideValue && !(keyed && keyed->ordered))
            throw StoreError("a side column needs a whole-row source with an order");
        if (keyed) {
            m_keyed = true;
            m_table = keyed->table;
            m_condition = keyed->condition;
            {
                SQLite::Statement columns(
                    m_db.handle(), QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(m_table).toStdString());
                for (int i = 0; i < columns.getColumnCount(); ++i)
                    m_columns << QString::fromUtf8(columns.getColumnName(i));
            }
            // Taken before the keys are read: a change in between makes it stale, never wrong.
            m_stamp = m_db.changeStamp();
            if (!sideValue && scanConnections > 1) {
                if (auto split = splitScanKeys(m_db, m_table, keyed->tail, scanConnections)) {
                    if (!keyed->ordered)
                        std::sort(split->begin(), split->end());
                    m_keys = KeyList(std::move(*split));
                    return 0;
                }
            }
            QString keySql = QStringLiteral("SELECT %1.rowid").arg(m_table);
            if (sideValue)
                keySql += QStringLiteral(", %1.%2").arg(m_table, quotedName(sideColumn));
            keySql += QStringLiteral(" FROM %1").arg(m_table) + keyed->tail;
            std::vector<KeyList::Key> keys;
            SQLite::Statement keyQuery(m_db.handle(), translateStatement(keySql).toStdString());
            while (keyQuery.executeStep()) {
                keys.push_back(keyQuery.getColumn(0).getInt64());
                if (sideValue)
                    (*sideValue)(textOf(keyQuery.getColumn(1)));
            }
            // A statement without an order gives its rows in the order they were added.
            if (!keyed->ordered)
                std::sort(keys.begin(), keys.end());
            m_keys = KeyList(std::move(keys));
        } else {
            SQLite::Statement rows(m_db.handle(), translateStatement(source).toStdString());
            for (int i = 0; i < rows.getColumnCount(); ++i)
                m_columns << QString::fromUtf8(rows.getColumnName(i));
            while (rows.executeStep()) {
                std::vector<QString> row;
                row.reserve(m_columns.size());
                for (int i = 0; i < m_columns.size(); ++i)
                    row.push_back(textOf(rows.getColumn(i)));
                m_rows.push_back(std::move(row));
            }
        }
        return 0;
    });
    m_position = recordCount() > 0 ? 0 : -1;
}

RecordSet::~RecordSet() = default;

int RecordSet::recordCount() const
{
    return static_cast<int>(m_keyed ? m_keys.size() : m_rows.size());
}

bool RecordSet::eof() const
{
    return recordCount() == 0 || m_position >= recordCount();
}
bool RecordSet::bof() const
{
    return recordCount() == 0 || m_position < 0;
}

bool RecordSet::hasCurrent() const
{
    return m_open && !m_currentDeleted && m_position >= 0 && m_position < recordCount();
}

void RecordSet::leavePending()
{
    m_mode = Mode::Browse;
    m_pending.clear();
}

void RecordSet::arriveAt(int position)
{
    requireOpen();
    leavePending();
    m_currentDeleted = false;
    m_position = position;
    m_loadedKey.reset(); // a record is read afresh each time it becomes current
}

void RecordSet::moveFirst()
{
    arriveAt(recordCount() > 0 ? 0 : -1);
}

void RecordSet::moveLast()
{
    arriveAt(recordCount() - 1);
}

void RecordSet::moveNext()
{
    // After a delete the position already names the record that followed.
    arriveAt(m_currentDeleted || m_position >= recordCount() ? m_position : m_position + 1);
}

void RecordSet::movePrevious()
{
    arriveAt(m_position >= 0 ? m_position - 1 : m_position);
}

int RecordSet::skip(int n)
{
    // After a delete the position already names the record that followed.
    const int from = std::max(m_position, 0);
    const int target = std::min(recordCount(), from + std::max(n, 0));
    arriveAt(target);
    return std::max(0, target - from);
}

int RecordSet::absolutePosition() const
{
    return hasCurrent() ? m_position : -1;
}

void RecordSet::setAbsolutePosition(int position)
{
    requireOpen();
    if (position < 0 || position >= recordCount())
        throw StoreError("there is no record at that position");
    arriveAt(position);
}

int RecordSet::currentSlot() const
{
    if (!hasCurrent())
        return -1;
    return m_keyed ? m_keys.slotAt(m_position) : m_position;
}

int RecordSet::columnIndex(const QString& name) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void RecordSet::loadCurrent() const
{
    const KeyList::Key key = m_keys.at(m_position);
    if (m_loadedKey == key)
        return;
    m_loadedKey.reset();
    storeCall([&] {
        if (!m_fetch) {
            m_fetch = std::make_unique<SQLite::Statement>(
                m_db.handle(), QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(m_table).toStdString());
        }
        StatementUse fetch(*m_fetch);
        fetch->bind(1, static_cast<int64_t>(key));
        if (!fetch->executeStep())
            throw StoreError(ChangedOutside);
        m_current.assign(m_columns.size(), QString());
        m_currentStored.assign(m_columns.size(), std::nullopt);
        for (int i = 0; i < m_columns.size(); ++i) {
            const SQLite::Column column = fetch->getColumn(i);
            if (column.isNull())
                continue;
            const auto* bytes = static_cast<const char*>(column.getBlob());
            const QByteArray stored(bytes ? bytes : "", column.getBytes());
            m_current[i] = QString::fromUtf8(stored);
            m_currentStored[i] = stored;
        }
        return 0;
    });
    m_loadedKey = key;
}

QString RecordSet::value(int column) const
{
    requireOpen();
    if (column < 0 || column >= m_columns.size())
        throw StoreError("there is no such column");
    if (m_mode != Mode::Browse && m_pending[column])
        return *m_pending[column];
    if (m_mode == Mode::Adding)
        return QString();
    requireCurrent();
    if (!m_keyed)
        return m_rows[m_position][column];
    loadCurrent();
    return m_current[column];
}

QString RecordSet::value(const QString& column) const
{
    const int index = columnIndex(column);
    if (index < 0)
        throw StoreError(QStringLiteral("there is no column %1").arg(column).toStdString());
    return value(index);
}

void RecordSet::setValue(int column, const QString& text)
{
    requireOpen();
    if (m_mode == Mode::Browse)
        throw StoreError("a value can only be written after add new or edit");
    if (column < 0 || column >= m_columns.size())
        throw StoreError("there is no such column");
    m_pending[column] = text;
}

void RecordSet::setValue(const QString& column, const QString& text)
{
    const int index = columnIndex(column);
    if (index < 0)
        throw StoreError(QStringLiteral("there is no column %1").arg(column).toStdString());
    setValue(index, text);
}

void RecordSet::addNew()
{
    requireUpdatable();
    m_mode = Mode::Adding;
    m_pending.assign(m_columns.size(), std::nullopt);
}

void RecordSet::edit()
{
    requireUpdatable();
    requireCurrent();
    loadCurrent(); // what was read is what the update expects to find
    m_mode = Mode::Editing;
    m_pending.assign(m_columns.size(), std::nullopt);
}

void RecordSet::update()
{
    requireUpdatable();
    if (m_mode == Mode::Browse)
        throw StoreError("update without add new or edit");
    storeCall([&] {
        if (m_mode == Mode::Adding)
            insertPending();
        else
            updatePending();
        return 0;
    });
    m_loadedKey.reset();
    leavePending();
}

void RecordSet::collectPending()
{
    m_writeColumns.clear();
    m_utf8.resize(m_columns.size());
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_pending[i]) {
            convertToUtf8(*m_pending[i], m_utf8[m_writeColumns.size()]);
            m_writeColumns.push_back(i);
        }
    }
}

void RecordSet::insertPending()
{
    collectPending();
    // Adding needs no check, only the note that this set's keys know of the new row.
    const bool trusted = m_db.ownChanges() == m_stamp.ownChanges && m_db.rollbacks() == m_stamp.rollbacks;
    SQLite::Statement& insert = writeStatement('I', m_writeColumns, false);
    StatementUse use(insert);
    for (std::size_t i = 0; i < m_writeColumns.size(); ++i)
        insert.bindNoCopy(static_cast<int>(i) + 1, m_utf8[i]);
    insert.exec();
    noteOwnWrite(trusted);
    const bool hadCurrent = hasCurrent();
    m_keys.append(m_db.handle().getLastInsertRowid());
    m_lastModifiedSlot = m_keys.lastSlot();
    if (!hadCurrent) {
        m_currentDeleted = false;
        m_position = recordCount() - 1;
    }
}

void RecordSet::updatePending()
{
    collectPending();
    if (!m_writeColumns.empty()) {
        const bool trusted = keysTrusted();
        if (!trusted)
            loadCurrent(); // what was read, unless the row is gone already
        SQLite::Statement& change = writeStatement('U', m_writeColumns, !trusted);
        StatementUse use(change);
        int index = 1;
        for (std::size_t i = 0; i < m_writeColumns.size(); ++i)
            change.bindNoCopy(index++, m_utf8[i]);
        change.bind(index++, static_cast<int64_t>(m_keys.at(m_position)));
        if (!trusted)
            bindStoredValues(change, index);
        if (change.exec() == 0)
            throw StoreError(ChangedOutside);
        noteOwnWrite(trusted);
    }
    m_lastModifiedSlot = m_keys.slotAt(m_position);
}

SQLite::Statement& RecordSet::writeStatement(char kind, const std::vector<int>& columns, bool checked)
{
    std::string name{kind, checked ? 'c' : 'u'};
    name.append(m_columns.size(), '0');
    for (int i : columns)
        name[2 + i] = '1';
    auto& slot = m_writes[name];
    if (slot)
        return *slot;
    QStringList names;
    for (int i : columns)
        names << quotedName(m_columns[i]);
    QString sql;
    if (kind == 'I') {
        sql = names.isEmpty() ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(m_table)
                              : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                    .arg(m_table, names.join(','), QStringList(names.size(), "?").join(','));
    } else {
        sql = kind == 'U' ? QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?").arg(m_table, names.join(" = ?, "))
                          : QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(m_table);
        // The row must still hold, byte for byte, what this set read from it.
        for (int i = 0; checked && i < m_columns.size(); ++i)
            sql += QStringLiteral(" AND CAST(%1 AS BLOB) IS ?").arg(quotedName(m_columns[i]));
    }
    slot = std::make_unique<SQLite::Statement>(m_db.handle(), sql.toStdString());
    return *slot;
}

void RecordSet::bindStoredValues(SQLite::Statement& statement, int firstIndex) const
{
    for (std::size_t i = 0; i < m_currentStored.size(); ++i) {
        const int index = firstIndex + static_cast<int>(i);
        if (m_currentStored[i])
            statement.bindNoCopy(index, m_currentStored[i]->constData(), static_cast<int>(m_currentStored[i]->size()));
        else
            statement.bind(index);
    }
}

bool RecordSet::keysTrusted()
{
    return m_db.changeStamp() == m_stamp;
}

void RecordSet::noteOwnWrite(bool trusted)
{
    // A write of this set keeps its keys right; one after a change elsewhere cannot.
    if (trusted)
        m_stamp.ownChanges = m_db.ownChanges();
}

void RecordSet::cancelUpdate()
{
    leavePending();
}

void RecordSet::deleteCurrent()
{
    requireUpdatable();
    requireCurrent();
    storeCall([&] {
        const bool trusted = keysTrusted();
        if (!trusted)
            loadCurrent();
        SQLite::Statement& remove = writeStatement('D', {}, !trusted);
        StatementUse use(remove);
        remove.bind(1, static_cast<int64_t>(m_keys.at(m_position)));
        if (!trusted)
            bindStoredValues(remove, 2);
        if (remove.exec() == 0)
            throw StoreError(ChangedOutside);
        noteOwnWrite(trusted);
        return 0;
    });
    leavePending();
    m_keys.removeAt(m_position);
    m_currentDeleted = true;
    m_loadedKey.reset();
}

int RecordSet::lastModifiedPosition() const
{
    return m_lastModifiedSlot ? m_keys.positionOfSlot(*m_lastModifiedSlot) : -1;
}

std::vector<std::int64_t> RecordSet::rowKeys() const
{
    requireUpdatable();
    return m_keys.keys();
}

ResultKeys RecordSet::resultKeys() const
{
    requireUpdatable();
    return ResultKeys{m_keys.keys(), m_stamp, m_condition};
}

void RecordSet::noteOwnBatch(const Database::ChangeStamp& before, const Database::ChangeStamp& after)
{
    if (m_stamp == before)
        m_stamp = after;
}

void RecordSet::close()
{
    leavePending();
    m_fetch.reset();
    m_writes.clear();
    m_keys = KeyList();
    m_rows.clear();
    m_open = false;
    m_position = -1;
}

void RecordSet::requireOpen() const
{
    if (!m_open)
        throw StoreError("the record set is closed");
}

void RecordSet::requireCurrent() const
{
    requireOpen();
    if (!hasCurrent())
        throw StoreError("there is no current record");
}

void RecordSet::requireUpdatable() const
{
    requireOpen();
    if (!m_keyed)
        throw StoreError("this record set cannot be updated");
}

} // namespace papyrant
