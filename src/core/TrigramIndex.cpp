#include "core/TrigramIndex.h"

#include <QElapsedTimer>
#include <QList>

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <unordered_map>

namespace papyrant {
namespace {

const char* const ObjectCount
    = "SELECT count(*) FROM sqlite_master WHERE name IN "
      "('Trigrams', 'TrigramMark', 'TrigramBehind', 'TrigramBehindInsert', 'TrigramBehindUpdate')";

// The index merges its segments eight at a time rather than four: building it takes a
// third less work, and a search reads as fast.
// The triggers only write a key into a plain table, and only for a record at or below the
// mark: appending records (extraction, copy) costs one look at the mark each.
const char* const CreateIndex
    = "CREATE VIRTUAL TABLE Trigrams USING fts5(Title, Keywords, Abstract, content='Abstracts', "
      "tokenize='trigram case_sensitive 0', detail=none, columnsize=0);"
      "INSERT INTO Trigrams(Trigrams, rank) VALUES('automerge', 8);"
      "CREATE TABLE TrigramMark(Covered INTEGER NOT NULL);"
      "INSERT INTO TrigramMark VALUES(0);"
      "CREATE TABLE TrigramBehind(Row INTEGER PRIMARY KEY);"
      "CREATE TRIGGER TrigramBehindInsert AFTER INSERT ON Abstracts "
      "WHEN new.rowid <= (SELECT Covered FROM TrigramMark) "
      "BEGIN INSERT OR IGNORE INTO TrigramBehind VALUES(new.rowid); END;"
      "CREATE TRIGGER TrigramBehindUpdate AFTER UPDATE OF Title, Keywords, Abstract ON Abstracts "
      "WHEN new.rowid <= (SELECT Covered FROM TrigramMark) "
      "BEGIN INSERT OR IGNORE INTO TrigramBehind VALUES(new.rowid); END;";

const char* const DropIndex = "DROP TRIGGER IF EXISTS TrigramBehindInsert;"
                              "DROP TRIGGER IF EXISTS TrigramBehindUpdate;"
                              "DROP TABLE IF EXISTS TrigramBehind;"
                              "DROP TABLE IF EXISTS TrigramMark;"
                              "DROP TABLE IF EXISTS Trigrams;";

// A prepared statement finalized however the scope ends.
class Prepared {
public:
    Prepared(sqlite3* db, const char* sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) != SQLITE_OK) {
            sqlite3_finalize(m_statement);
            m_statement = nullptr;
        }
    }
    ~Prepared() { sqlite3_finalize(m_statement); }
    Prepared(const Prepared&) = delete;
    Prepared& operator=(const Prepared&) = delete;
    explicit operator bool() const { return m_statement != nullptr; }
    sqlite3_stmt* get() const { return m_statement; }

private:
    sqlite3_stmt* m_statement = nullptr;
};

// Appends the first column of every row; false on any engine error, or once there are
// more than `limit` keys.
bool readKeys(sqlite3_stmt* statement, std::vector<std::int64_t>& keys, std::size_t limit = SIZE_MAX)
{
    int stepped = SQLITE_ROW;
    while ((stepped = sqlite3_step(statement)) == SQLITE_ROW) {
        keys.push_back(sqlite3_column_int64(statement, 0));
        if (keys.size() > limit)
            return false;
    }
    return stepped == SQLITE_DONE;
}

std::optional<std::int64_t> readOne(sqlite3* db, const char* sql)
{
    Prepared statement(db, sql);
    if (!statement || sqlite3_step(statement.get()) != SQLITE_ROW)
        return std::nullopt;
    return sqlite3_column_int64(statement.get(), 0);
}

bool hasIndexObjects(sqlite3* db)
{
    return readOne(db, ObjectCount) == 5;
}

// A piece whose characters have many case forms, or a long word of them, would make the
// index read more than it saves.
constexpr std::size_t MaxFormsOfAPiece = 27;
constexpr std::size_t MaxTerms = 256;

// The forms of a character in which the index must look for it. A search takes as equal
// every character with the same case folding (Qt's simple folding); the index folds with
// SQLite's own tables, which differ for some 800 characters (Cyrillic, Georgian, Cherokee
// and more). So a character beyond ASCII is looked up in every form the search takes as
// equal to it: whichever way the index folded the text's character, one of them is there.
// An ASCII character is looked up as itself: both fold ASCII alike, and the two characters
// beyond ASCII that fold into it (the Kelvin sign and the long s) the index folds alike too.
// Every character beyond ASCII with more than one case form, under each of its forms: all
// the characters with the same simple case folding. Made at the first word beyond ASCII.
const std::unordered_map<char32_t, std::vector<char32_t>>& caseForms()
{
    static const std::unordered_map<char32_t, std::vector<char32_t>> forms = [] {
        std::unordered_map<char32_t, std::vector<char32_t>> byFolding;
        for (char32_t x = 0x80; x <= 0x10FFFF; ++x) {
            if (x >= 0xD800 && x <= 0xDFFF)
                continue;
            const char32_t folded = QChar::toCaseFolded(x);
            if (folded != x)
                byFolding[folded].push_back(x);
        }
        std::unordered_map<char32_t, std::vector<char32_t>> byMember;
        for (auto& [folded, members] : byFolding) {
            if (std::find(members.begin(), members.end(), folded) == members.end())
                members.push_back(folded);
            std::sort(members.begin(), members.end());
            for (const char32_t member : members)
                byMember[member] = members;
        }
        return byMember;
    }();
    return forms;
}

std::vector<char32_t> indexFormsOf(char32_t c)
{
    if (c >= 0x80) {
        if (const auto found = caseForms().find(c); found != caseForms().end())
            return found->second;
    }
    return {c};
}

void run(Database& db, const char* sql)
{
    storeCall([&] { db.handle().exec(sql); });
}

} // namespace

const std::vector<QString>& trigramIndexedColumns()
{
    static const std::vector<QString> columns{
        QStringLiteral("Title"), QStringLiteral("Keywords"), QStringLiteral("Abstract")};
    return columns;
}

std::optional<QString> trigramMatch(const std::vector<QString>& rowWords, const std::vector<QString>& searchedColumns)
{
    if (rowWords.empty() || searchedColumns.empty())
        return std::nullopt;
    for (const QString& column : searchedColumns) {
        if (std::find(trigramIndexedColumns().begin(), trigramIndexedColumns().end(), column)
            == trigramIndexedColumns().end())
            return std::nullopt;
    }
    // Each distinct piece of three characters, with every form of it the index may hold.
    std::map<std::u32string, std::vector<std::u32string>> pieces;
    std::size_t terms = 0;
    for (const QString& words : rowWords) {
        const QList<uint> characters = words.toUcs4();
        if (characters.size() < 3)
            return std::nullopt;
        for (const uint c : characters) {
            if (c < 0x20 || c == 0x7F || (c >= 0xD800 && c <= 0xDFFF) || c == '*' || c == '?' || c == '#' || c == '['
                || c == ']')
                return std::nullopt;
        }
        for (qsizetype i = 0; i + 3 <= characters.size(); ++i) {
            const std::u32string piece{characters[i], characters[i + 1], characters[i + 2]};
            if (pieces.count(piece))
                continue;
            std::vector<std::u32string> forms{std::u32string()};
            for (const char32_t c : piece) {
                std::vector<std::u32string> longer;
                for (const char32_t form : indexFormsOf(c)) {
                    for (const std::u32string& start : forms)
                        longer.push_back(start + form);
                }
                forms = std::move(longer);
            }
            terms += forms.size();
            if (forms.size() > MaxFormsOfAPiece || terms > MaxTerms)
                return std::nullopt; // a search the index would slow down more than help
            pieces.emplace(piece, std::move(forms));
        }
    }
    QString match;
    for (const auto& [piece, forms] : pieces) {
        if (!match.isEmpty())
            match += QStringLiteral(" AND ");
        QString alternatives;
        for (const std::u32string& form : forms) {
            if (!alternatives.isEmpty())
                alternatives += QStringLiteral(" OR ");
            alternatives += QLatin1Char('"')
                + QString::fromUcs4(form.data(), static_cast<qsizetype>(form.size()))
                      .replace(QLatin1Char('"'), QStringLiteral("\"\""))
                + QLatin1Char('"');
        }
        match += forms.size() > 1 ? QLatin1Char('(') + alternatives + QLatin1Char(')') : alternatives;
    }
    return match;
}

bool hasTrigramIndex(Database& db)
{
    return hasIndexObjects(db.handle().getHandle());
}

void createTrigramIndex(Database& db)
{
    Database::Transaction transaction(db);
    run(db, CreateIndex);
    transaction.commit();
}

void dropTrigramIndex(Database& db)
{
    Database::Transaction transaction(db);
    run(db, DropIndex);
    transaction.commit();
}

std::optional<std::vector<std::int64_t>> trigramCandidates(sqlite3* db, const QString& match, std::size_t limit)
{
    if (sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        return std::nullopt;
    std::vector<std::int64_t> keys;
    const bool read = [&] {
        if (!hasIndexObjects(db))
            return false;
        const auto covered = readOne(db, "SELECT Covered FROM TrigramMark");
        if (!covered)
            return false;
        if (*covered > 0) {
            Prepared named(db, "SELECT rowid FROM Trigrams WHERE Trigrams MATCH ?1");
            if (!named)
                return false;
            const QByteArray expression = match.toUtf8();
            sqlite3_bind_text(named.get(), 1, expression.constData(), expression.size(), SQLITE_TRANSIENT);
            if (!readKeys(named.get(), keys, limit))
                return false;
            // The index may still name a record removed since; it is no candidate.
            keys.erase(
                std::remove_if(keys.begin(), keys.end(), [&](std::int64_t key) { return key > *covered; }), keys.end());
        }
        Prepared behind(db, "SELECT Row FROM TrigramBehind");
        Prepared above(db, "SELECT rowid FROM Abstracts WHERE rowid > ?1");
        if (!behind || !above)
            return false;
        sqlite3_bind_int64(above.get(), 1, *covered);
        return readKeys(behind.get(), keys, limit) && readKeys(above.get(), keys, limit);
    }();
    sqlite3_exec(db, read ? "COMMIT" : "ROLLBACK", nullptr, nullptr, nullptr);
    if (!read)
        return std::nullopt;
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

TrigramIndexBuild::TrigramIndexBuild(Database& db)
    : m_db(db)
{
}

StepOutcome TrigramIndexBuild::step(const TickBudget& budget)
{
    sqlite3* db = m_db.handle().getHandle();
    try {
        if (!m_started) {
            m_started = true;
            if (!hasTrigramIndex(m_db)) {
                // Whatever is left of a damaged index goes first.
                dropTrigramIndex(m_db);
                createTrigramIndex(m_db);
            }
        }
        // One transaction a tick: its commit, a fixed cost of the disk, is paid once.
        Database::Transaction transaction(m_db);
        while (!budget.spent()) {
            QElapsedTimer clock;
            clock.start();
            m_covered = readOne(db, "SELECT Covered FROM TrigramMark").value_or(0);
            m_highest = readOne(db, "SELECT coalesce(max(rowid), 0) FROM Abstracts").value_or(0);
            // Records noted behind first, a batch at a time in two statements: the record as
            // it is now joins the index; what it held before stays there, naming it for
            // words it may no longer hold, which its test rejects.
            Prepared add(db,
                "INSERT INTO Trigrams(rowid, Title, Keywords, Abstract) "
                "SELECT rowid, Title, Keywords, Abstract FROM Abstracts "
                "WHERE rowid IN (SELECT Row FROM TrigramBehind ORDER BY Row LIMIT ?1)");
            Prepared done(db, "DELETE FROM TrigramBehind WHERE Row IN (SELECT Row FROM TrigramBehind ORDER BY Row LIMIT ?1)");
            if (!add || !done)
                throw StoreError(sqlite3_errmsg(db));
            sqlite3_bind_int(add.get(), 1, m_batch);
            sqlite3_bind_int(done.get(), 1, m_batch);
            if (sqlite3_step(add.get()) != SQLITE_DONE || sqlite3_step(done.get()) != SQLITE_DONE)
                throw StoreError(sqlite3_errmsg(db));
            const bool behindLeft = sqlite3_changes(db) > 0; // more may be noted: look again
            if (!behindLeft && m_covered < m_highest) {
                std::int64_t upTo = m_highest;
                {
                    Prepared next(db, "SELECT rowid FROM Abstracts WHERE rowid > ?1 ORDER BY rowid LIMIT 1 OFFSET ?2");
                    if (!next)
                        throw StoreError(sqlite3_errmsg(db));
                    sqlite3_bind_int64(next.get(), 1, m_covered);
                    sqlite3_bind_int(next.get(), 2, m_batch - 1);
                    if (sqlite3_step(next.get()) == SQLITE_ROW)
                        upTo = sqlite3_column_int64(next.get(), 0);
                }
                Prepared add(db,
                    "INSERT INTO Trigrams(rowid, Title, Keywords, Abstract) "
                    "SELECT rowid, Title, Keywords, Abstract FROM Abstracts WHERE rowid > ?1 AND rowid <= ?2");
                Prepared mark(db, "UPDATE TrigramMark SET Covered = ?1");
                if (!add || !mark)
                    throw StoreError(sqlite3_errmsg(db));
                sqlite3_bind_int64(add.get(), 1, m_covered);
                sqlite3_bind_int64(add.get(), 2, upTo);
                sqlite3_bind_int64(mark.get(), 1, upTo);
                if (sqlite3_step(add.get()) != SQLITE_DONE || sqlite3_step(mark.get()) != SQLITE_DONE)
                    throw StoreError(sqlite3_errmsg(db));
                m_covered = upTo;
            } else if (!behindLeft) {
                transaction.commit();
                return StepOutcome::done();
            }
            // A batch takes about a third of the tick, so the last one ends near its end.
            const qint64 took = clock.elapsed();
            if (took * 3 < budget.lengthMs() && m_batch < 4096)
                m_batch *= 2;
            else if (took * 2 > budget.lengthMs() && m_batch > 8)
                m_batch /= 2;
        }
        transaction.commit();
        return StepOutcome::more();
    } catch (const std::exception& error) {
        return StepOutcome::failed(errorText(error));
    }
}

StepProgress TrigramIndexBuild::progress() const
{
    if (m_highest <= 0)
        return {};
    // Scaled to thousandths so that files with keys beyond an int still show their progress.
    return {static_cast<int>(std::min<std::int64_t>(1000, m_covered * 1000 / m_highest)), 1000};
}

} // namespace papyrant
