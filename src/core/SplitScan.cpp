#include "core/SplitScan.h"

#include "core/LikeMatcher.h"
#include "core/SqlText.h"
#include "core/TrigramIndex.h"

#include <QRegularExpression>
#include <QThread>

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace papyrant {
namespace {

// Below this many row keys one connection is as quick as several.
constexpr std::int64_t SmallestSplitSpan = 5000;
// Ranges per connection: a connection that finishes early takes another, and the progress
// moves in small steps.
constexpr int RangesPerConnection = 16;
// Testing a record found by its key costs about what reading a few records in a row
// does: the index pays off while it names fewer than a quarter of the records.
constexpr std::int64_t CandidateShare = 4;

using Collation = SplitScan::Collation;
using Keyed = SplitScan::Keyed;

// The order column's name when the order is "CAST([T.]column AS TEXT)", as searches sort.
std::optional<QString> orderColumn(const QString& order)
{
    static const QRegularExpression cast(
        QStringLiteral(
            R"(^\s*CAST\s*\(\s*(?:[A-Za-z_][A-Za-z0-9_]*\s*\.\s*)?([A-Za-z_][A-Za-z0-9_]*)\s+AS\s+TEXT\s*\)\s*(?:ASC\s*)?$)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = cast.match(order);
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1);
}

std::optional<Collation> collationOf(sqlite3* db, const QString& table, const QString& column)
{
    const char* collation = nullptr;
    if (sqlite3_table_column_metadata(db, "main", table.toUtf8().constData(), column.toUtf8().constData(), nullptr,
            &collation, nullptr, nullptr, nullptr)
        != SQLITE_OK)
        return std::nullopt;
    if (sqlite3_stricmp(collation, "BINARY") == 0)
        return Collation::Binary;
    if (sqlite3_stricmp(collation, "NOCASE") == 0)
        return Collation::NoCase;
    if (sqlite3_stricmp(collation, "RTRIM") == 0)
        return Collation::RTrim;
    return std::nullopt;
}

// The engine's own three collations, byte for byte.
int compareText(const std::string& a, const std::string& b, Collation collation)
{
    std::size_t lengthA = a.size();
    std::size_t lengthB = b.size();
    if (collation == Collation::RTrim) {
        while (lengthA > 0 && a[lengthA - 1] == ' ')
            --lengthA;
        while (lengthB > 0 && b[lengthB - 1] == ' ')
            --lengthB;
    }
    const std::size_t common = std::min(lengthA, lengthB);
    if (collation == Collation::NoCase) {
        for (std::size_t i = 0; i < common; ++i) {
            auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
            const int difference = lower(static_cast<unsigned char>(a[i])) - lower(static_cast<unsigned char>(b[i]));
            if (difference != 0)
                return difference;
        }
    } else if (const int difference = std::memcmp(a.data(), b.data(), common); difference != 0) {
        return difference;
    }
    return lengthA < lengthB ? -1 : lengthA > lengthB ? 1 : 0;
}

} // namespace

int scanConnectionCount()
{
    return std::max(2, QThread::idealThreadCount());
}

std::unique_ptr<SplitScan> SplitScan::start(
    Database& db, const QString& table, const QString& tail, int connections, const std::optional<QString>& prefilter)
{
    sqlite3* main = db.handle().getHandle();
    // Work of this connection not yet committed is invisible to the others.
    if (connections < 2 || !sqlite3_get_autocommit(main))
        return nullptr;
    const QString plain = withoutLiterals(tail);
    static const QRegularExpression where(QStringLiteral(R"(^\s*where\b)"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression orderBy(
        QStringLiteral(R"(\border\s+by\b)"), QRegularExpression::CaseInsensitiveOption);
    const auto whereMatch = where.match(plain);
    if (!whereMatch.hasMatch())
        return nullptr;
    qsizetype whereEnd = tail.size();
    std::optional<Collation> collation;
    QString orderValue;
    for (auto it = orderBy.globalMatch(plain); it.hasNext();) {
        const auto m = it.next();
        whereEnd = m.capturedStart();
        orderValue = tail.mid(m.capturedEnd());
    }
    if (whereEnd < tail.size()) {
        const auto column = orderColumn(orderValue);
        if (!column)
            return nullptr;
        collation = collationOf(main, table, *column);
        if (!collation)
            return nullptr;
    }

    std::int64_t low = 0;
    std::int64_t high = 0;
    {
        sqlite3_stmt* span = nullptr;
        const QByteArray sql = QStringLiteral("SELECT min(rowid), max(rowid) FROM %1").arg(table).toUtf8();
        if (sqlite3_prepare_v2(main, sql.constData(), -1, &span, nullptr) != SQLITE_OK) {
            sqlite3_finalize(span);
            return nullptr;
        }
        const bool read = sqlite3_step(span) == SQLITE_ROW && sqlite3_column_type(span, 0) != SQLITE_NULL;
        if (read) {
            low = sqlite3_column_int64(span, 0);
            high = sqlite3_column_int64(span, 1);
        }
        sqlite3_finalize(span);
        if (!read || high - low < SmallestSplitSpan)
            return nullptr;
    }

    std::unique_ptr<SplitScan> scan(new SplitScan);
    const QString condition = tail.mid(whereMatch.capturedEnd(), whereEnd - whereMatch.capturedEnd());
    QString sql = QStringLiteral("SELECT %1.rowid").arg(table);
    if (collation)
        sql += QStringLiteral(", ") + orderValue;
    QString point = sql;
    sql += QStringLiteral(" FROM %1 WHERE %1.rowid BETWEEN ?1 AND ?2 AND (%2)").arg(table, condition);
    point += QStringLiteral(" FROM %1 WHERE %1.rowid = ?1 AND (%2)").arg(table, condition);
    scan->m_statement = translateStatement(sql).toStdString();
    scan->m_pointStatement = translateStatement(point).toStdString();
    scan->m_prefilter = prefilter;
    scan->m_planned = !prefilter.has_value();
    scan->m_path = db.path().toStdString();
    scan->m_collation = collation;

    const int count = connections * RangesPerConnection;
    const std::int64_t width = (high - low) / count + 1;
    scan->m_ranges.resize(count);
    for (int i = 0; i < count; ++i) {
        scan->m_ranges[i].low = low + i * width;
        scan->m_ranges[i].high = i == count - 1 ? high : low + (i + 1) * width - 1;
    }
    scan->m_rangeCount = count;
    scan->m_running = connections;
    for (int i = 0; i < connections; ++i)
        scan->m_threads.emplace_back([raw = scan.get(), planner = i == 0] { raw->work(planner); });
    return scan;
}

SplitScan::~SplitScan()
{
    stop();
    for (std::thread& thread : m_threads)
        thread.join();
}

void SplitScan::plan(sqlite3* db)
{
    if (!m_prefilter)
        return;
    const std::int64_t span = m_ranges.back().high - m_ranges.front().low + 1;
    const auto limit = static_cast<std::size_t>(span / CandidateShare);
    auto candidates = m_stop || m_failed ? std::nullopt : trigramCandidates(db, *m_prefilter, limit);
    if (candidates) {
        m_candidates = std::move(*candidates);
        // The same number of ranges, each a run of candidates in key order.
        const auto count = static_cast<std::int64_t>(m_ranges.size());
        const auto total = static_cast<std::int64_t>(m_candidates.size());
        for (std::int64_t i = 0; i < count; ++i) {
            m_ranges[i].low = total * i / count;
            m_ranges[i].high = total * (i + 1) / count;
        }
        m_usedIndex = true;
    }
    std::lock_guard guard(m_lock);
    m_planned = true;
    m_ended.notify_all();
}

void SplitScan::work(bool planner)
{
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_open_v2(m_path.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) == SQLITE_OK) {
        sqlite3_busy_timeout(db, Database::DefaultBusyTimeoutMs);
        registerLikeFunction(db);
        // Stop breaks off a statement within a few thousand engine steps.
        sqlite3_progress_handler(
            db, 4000, [](void* self) { return static_cast<SplitScan*>(self)->m_stop.load() ? 1 : 0; }, this);
    } else {
        m_failed = true;
    }
    if (planner) {
        plan(db);
    } else {
        std::unique_lock guard(m_lock);
        m_ended.wait(guard, [this] { return m_planned; });
    }
    const bool byKey = m_usedIndex.load();
    const std::string& sql = byKey ? m_pointStatement : m_statement;
    if (!m_failed
        && sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &statement, nullptr) != SQLITE_OK)
        m_failed = true;
    const bool withValue = m_collation.has_value();
    for (int i = m_nextRange++; !m_failed && !m_stop && i < rangeCount(); i = m_nextRange++) {
        Range& range = m_ranges[i];
        auto readRows = [&] {
            int stepped = SQLITE_ROW;
            while ((stepped = sqlite3_step(statement)) == SQLITE_ROW) {
                Keyed keyed{sqlite3_column_int64(statement, 0), std::nullopt};
                if (withValue && sqlite3_column_type(statement, 1) != SQLITE_NULL) {
                    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
                    keyed.value.emplace(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, 1)));
                }
                range.found.push_back(std::move(keyed));
            }
            sqlite3_reset(statement);
            return stepped == SQLITE_DONE;
        };
        bool read = true;
        if (byKey) {
            // One read transaction for the run, not one per key.
            sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
            for (std::int64_t k = range.low; read && k < range.high && !m_stop; ++k) {
                sqlite3_bind_int64(statement, 1, m_candidates[static_cast<std::size_t>(k)]);
                read = readRows();
            }
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
            read = read && !m_stop;
        } else {
            sqlite3_bind_int64(statement, 1, range.low);
            sqlite3_bind_int64(statement, 2, range.high);
            read = readRows();
        }
        if (!read)
            m_failed = true;
        else
            ++m_rangesDone;
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    {
        std::lock_guard guard(m_lock);
        if (--m_running > 0)
            return;
    }
    // The last thread puts the keys together, so the window's thread only takes them.
    if (!m_failed && !m_stop)
        merge();
    std::lock_guard guard(m_lock);
    m_merged = true;
    m_ended.notify_all();
}

void SplitScan::merge()
{
    std::size_t total = 0;
    for (const Range& range : m_ranges)
        total += range.found.size();
    std::vector<Keyed> all;
    all.reserve(total);
    for (Range& range : m_ranges) {
        std::move(range.found.begin(), range.found.end(), std::back_inserter(all));
        range.found = {};
    }
    if (m_collation) {
        std::stable_sort(all.begin(), all.end(), [collation = *m_collation](const Keyed& a, const Keyed& b) {
            if (!a.value || !b.value)
                return !a.value && b.value;
            return compareText(*a.value, *b.value, collation) < 0;
        });
    }
    m_keys.reserve(all.size());
    for (const Keyed& keyed : all)
        m_keys.push_back(keyed.key);
}

bool SplitScan::finished(std::chrono::milliseconds wait)
{
    std::unique_lock guard(m_lock);
    return m_ended.wait_for(guard, wait, [this] { return m_merged; });
}

void SplitScan::stop()
{
    m_stop = true;
}

std::optional<std::vector<std::int64_t>> SplitScan::keys()
{
    finished(std::chrono::hours(24 * 365));
    if (m_failed || m_stop)
        return std::nullopt;
    return std::move(m_keys);
}

std::optional<std::vector<std::int64_t>> splitScanKeys(
    Database& db, const QString& table, const QString& tail, int connections, const std::optional<QString>& prefilter)
{
    const auto scan = SplitScan::start(db, table, tail, connections, prefilter);
    if (!scan)
        return std::nullopt;
    return scan->keys();
}

} // namespace papyrant
