#include "core/RecordSet.h"

#include "core/SqlText.h"

#include <QRegularExpression>

#include <algorithm>

namespace papyrant {
namespace {

// The statement with every quoted literal blanked, so keywords inside search words
// ("order by" typed as a phrase) are not taken for the statement's own.
QString withoutLiterals(const QString& sql)
{
    QString plain = sql;
    bool inside = false;
    for (qsizetype i = 0; i < plain.size(); ++i) {
        if (plain[i] == QLatin1Char('\'')) {
            inside = !inside;
        } else if (inside) {
            plain[i] = QLatin1Char(' ');
        }
    }
    return plain;
}

struct KeyedSource {
    QString table;
    QString keySql;
    bool ordered = false;
};

// Recognises "Select [T.]* From T [Where ...] [Order by ...]" and bare table names.
std::optional<KeyedSource> keyedSource(const QString& source)
{
    static const QRegularExpression tableName(QStringLiteral(R"(^\s*([A-Za-z_][A-Za-z0-9_]*)\s*$)"));
    if (auto m = tableName.match(source); m.hasMatch()) {
        const QString table = m.captured(1);
        return KeyedSource{table, QStringLiteral("SELECT rowid FROM %1").arg(table), false};
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
    keyed.keySql = QStringLiteral("SELECT %1.rowid FROM %1").arg(table) + source.mid(m.capturedStart(3));
    keyed.ordered = orderBy.match(m.captured(3)).hasMatch();
    return keyed;
}

QString textOf(const SQLite::Column& column)
{
    if (column.isNull())
        return QString();
    return QString::fromUtf8(static_cast<const char*>(column.getBlob()), column.getBytes());
}

template <typename Work>
auto storeCall(Work&& work)
{
    try {
        return work();
    } catch (const StoreError&) {
        throw;
    } catch (const std::exception& e) {
        throw StoreError(e.what());
    }
}

} // namespace

RecordSet::RecordSet(Database& db, const QString& source)
    : m_db(db)
{
    storeCall([&] {
        if (auto keyed = keyedSource(source)) {
            m_keyed = true;
            m_table = keyed->table;
            {
                SQLite::Statement columns(
                    db.handle(), QStringLiteral("SELECT * FROM %1 LIMIT 0").arg(m_table).toStdString());
                for (int i = 0; i < columns.getColumnCount(); ++i)
                    m_columns << QString::fromUtf8(columns.getColumnName(i));
            }
            SQLite::Statement keys(db.handle(), translateStatement(keyed->keySql).toStdString());
            while (keys.executeStep())
                m_keys.push_back(keys.getColumn(0).getInt64());
            // A statement without an order gives its rows in the order they were added.
            if (!keyed->ordered)
                std::sort(m_keys.begin(), m_keys.end());
        } else {
            SQLite::Statement rows(db.handle(), translateStatement(source).toStdString());
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

void RecordSet::moveFirst()
{
    requireOpen();
    leavePending();
    m_currentDeleted = false;
    m_position = recordCount() > 0 ? 0 : -1;
}

void RecordSet::moveLast()
{
    requireOpen();
    leavePending();
    m_currentDeleted = false;
    m_position = recordCount() - 1;
}

void RecordSet::moveNext()
{
    requireOpen();
    leavePending();
    // After a delete the position already names the record that followed.
    if (m_currentDeleted)
        m_currentDeleted = false;
    else if (m_position < recordCount())
        ++m_position;
}

void RecordSet::movePrevious()
{
    requireOpen();
    leavePending();
    m_currentDeleted = false;
    if (m_position >= 0)
        --m_position;
}

int RecordSet::skip(int n)
{
    requireOpen();
    leavePending();
    // After a delete the position already names the record that followed.
    const int from = std::max(m_position, 0);
    m_currentDeleted = false;
    const int target = std::min(recordCount(), from + std::max(n, 0));
    const int passed = std::max(0, target - from);
    m_position = target;
    return passed;
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
    leavePending();
    m_currentDeleted = false;
    m_position = position;
}

int RecordSet::columnIndex(const QString& name) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

SQLite::Statement& RecordSet::cachedStatement(std::unique_ptr<SQLite::Statement>& slot, const std::string& sql)
{
    if (!slot)
        slot = std::make_unique<SQLite::Statement>(m_db.handle(), sql);
    else
        slot->reset();
    return *slot;
}

void RecordSet::loadCurrent() const
{
    const std::int64_t key = m_keys[m_position];
    if (m_loaded && m_loadedKey == key)
        return;
    storeCall([&] {
        auto* self = const_cast<RecordSet*>(this);
        SQLite::Statement& fetch = self->cachedStatement(
            self->m_fetch, QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(m_table).toStdString());
        fetch.bind(1, static_cast<int64_t>(key));
        if (!fetch.executeStep())
            throw StoreError("the record has been deleted");
        m_current.assign(m_columns.size(), QString());
        for (int i = 0; i < m_columns.size(); ++i)
            m_current[i] = textOf(fetch.getColumn(i));
        fetch.reset();
        return 0;
    });
    m_loadedKey = key;
    m_loaded = true;
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
    m_mode = Mode::Editing;
    m_pending.assign(m_columns.size(), std::nullopt);
}

void RecordSet::update()
{
    requireUpdatable();
    if (m_mode == Mode::Browse)
        throw StoreError("update without add new or edit");
    storeCall([&] {
        if (m_mode == Mode::Adding) {
            if (!m_insert) {
                QStringList marks;
                for (int i = 0; i < m_columns.size(); ++i)
                    marks << QStringLiteral("?");
                m_insert = std::make_unique<SQLite::Statement>(m_db.handle(),
                    QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                        .arg(m_table, m_columns.join(','), marks.join(','))
                        .toStdString());
            }
            SQLite::Statement& insert = *m_insert;
            insert.reset();
            insert.clearBindings();
            // The texts stay alive until the row is written, so SQLite need not copy them.
            m_bound.resize(m_columns.size());
            for (int i = 0; i < m_columns.size(); ++i) {
                if (m_pending[i]) {
                    m_bound[i] = m_pending[i]->toStdString();
                    insert.bindNoCopy(i + 1, m_bound[i]);
                }
            }
            insert.exec();
            const std::int64_t key = m_db.handle().getLastInsertRowid();
            const bool hadCurrent = hasCurrent();
            m_keys.push_back(key);
            m_lastModifiedKey = key;
            if (!hadCurrent) {
                m_currentDeleted = false;
                m_position = recordCount() - 1;
            }
        } else {
            QStringList assignments;
            std::vector<int> changed;
            for (int i = 0; i < m_columns.size(); ++i) {
                if (m_pending[i]) {
                    assignments << QStringLiteral("%1 = ?").arg(m_columns[i]);
                    changed.push_back(i);
                }
            }
            const std::int64_t key = m_keys[m_position];
            if (!changed.empty()) {
                SQLite::Statement change(m_db.handle(),
                    QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                        .arg(m_table, assignments.join(QStringLiteral(", ")))
                        .toStdString());
                int slot = 1;
                for (int i : changed)
                    change.bind(slot++, m_pending[i]->toStdString());
                change.bind(slot, static_cast<int64_t>(key));
                if (change.exec() == 0)
                    throw StoreError("the record has been deleted");
            }
            m_lastModifiedKey = key;
        }
        return 0;
    });
    m_loaded = false;
    leavePending();
}

void RecordSet::cancelUpdate()
{
    leavePending();
}

void RecordSet::deleteCurrent()
{
    requireUpdatable();
    requireCurrent();
    leavePending();
    const std::int64_t key = m_keys[m_position];
    storeCall([&] {
        SQLite::Statement remove(
            m_db.handle(), QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(m_table).toStdString());
        remove.bind(1, static_cast<int64_t>(key));
        remove.exec();
        return 0;
    });
    m_keys.erase(m_keys.begin() + m_position);
    m_currentDeleted = true;
    m_loaded = false;
    if (m_lastModifiedKey == key)
        m_lastModifiedKey.reset();
}

int RecordSet::lastModifiedPosition() const
{
    if (!m_lastModifiedKey)
        return -1;
    const auto at = std::find(m_keys.rbegin(), m_keys.rend(), *m_lastModifiedKey);
    return at == m_keys.rend() ? -1 : static_cast<int>(m_keys.rend() - at - 1);
}

std::vector<std::int64_t> RecordSet::rowKeys() const
{
    requireUpdatable();
    return m_keys;
}

void RecordSet::close()
{
    leavePending();
    m_fetch.reset();
    m_insert.reset();
    m_keys.clear();
    m_keys.shrink_to_fit();
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
