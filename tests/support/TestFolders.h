#pragma once
// A throw-away program folder with the built template and labels file, and
// bibliographies filled with chosen records.

#include "core/Bibliography.h"
#include "core/ProgramState.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <SQLiteCpp/Database.h>

#include <map>
#include <optional>
#include <vector>

namespace papyrant::test {

// One record as column name -> value; columns left out are stored as NULL.
using TestRecord = std::map<QString, QString>;

class TestProgramFolder {
public:
    // Copies the built assistant files (template, labels file, help pages) into a
    // fresh folder and initialises the program-wide state over it.
    TestProgramFolder();
    ~TestProgramFolder();

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& leaf) const { return m_dir.filePath(leaf); }
    ProgramState& state() { return programState(); }

    // A bibliography made from the template, holding the records, in this folder.
    QString makeBibliography(const QString& fileName, const std::vector<TestRecord>& records = {}) const;
    // The open bibliography of logic tests and of screens made without the control panel.
    Bibliography& bibliography() { return m_bibliography; }
    // Opens the file as create and open would: its name is the file title less ".pyr".
    Bibliography& openBibliography(const QString& path);

private:
    QTemporaryDir m_dir;
    QString m_previousDirectory;
    Bibliography m_bibliography;
};

// Rows of a database as column values (NULL as a null text), read with the bare SQLite
// library for asserting what was really stored.
std::vector<QStringList> readRows(const QString& databasePath, const QString& sql);
// The same rows as lines, the columns of each joined by '|'.
QStringList readLines(const QString& databasePath, const QString& sql);

// Another program's connection to a database file: it runs what it is given at once (a
// change the program did not make, or "BEGIN EXCLUSIVE" to hold the file locked); closing
// it, or its end, rolls back what is still open.
class OtherConnection {
public:
    explicit OtherConnection(const QString& databasePath, const char* sql = nullptr)
        : m_db(std::in_place, databasePath.toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE)
    {
        // The program may be reading the file on a thread of its own (the search index's
        // upkeep); a writer waits for it as another program would.
        m_db->setBusyTimeout(5000);
        if (sql)
            run(sql);
    }
    void run(const char* sql) { m_db->exec(sql); } // throws with the engine's words
    void close() { m_db.reset(); }

private:
    std::optional<SQLite::Database> m_db;
};

// The words of the exception a call throws, or "" when it throws none.
template <typename Exception, typename Call>
QString thrownText(Call&& call)
{
    try {
        call();
    } catch (const Exception& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

// A file's bytes (empty when it cannot be read), and a file written with the given bytes.
QByteArray readFileBytes(const QString& path);
QString writeFileBytes(const QString& path, const QByteArray& bytes);

// The folder the build writes the program into.
QString builtProgramFolder();

} // namespace papyrant::test
