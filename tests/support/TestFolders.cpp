#include "support/TestFolders.h"

#include "core/Database.h"
#include "core/RecordSet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <SQLiteCpp/SQLiteCpp.h>

#include <stdexcept>

namespace papyrant::test {

QString builtProgramFolder()
{
    return QStringLiteral(PAPYRANT_BUILT_PROGRAM_FOLDER);
}

TestProgramFolder::TestProgramFolder()
    : m_previousDirectory(QDir::currentPath())
{
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary folder");
    const QDir built(builtProgramFolder());
    const QStringList wanted = built.entryList(
        {QStringLiteral("VarEdoRecors"), QStringLiteral("VarEdoAbb"), QStringLiteral("*.htm"), QStringLiteral("*.css")},
        QDir::Files);
    for (const QString& leaf : wanted)
        QFile::copy(built.filePath(leaf), m_dir.filePath(leaf));
    programState() = ProgramState{};
    programState().initialiseAtStart(m_dir.path());
}

TestProgramFolder::~TestProgramFolder()
{
    QDir::setCurrent(m_previousDirectory);
    programState() = ProgramState{};
}

QString TestProgramFolder::makeBibliography(const QString& fileName, const std::vector<TestRecord>& records) const
{
    const QString path = m_dir.filePath(fileName);
    QFile::remove(path);
    if (!QFile::copy(m_dir.filePath(QStringLiteral("VarEdoRecors")), path))
        throw std::runtime_error("cannot copy the template");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    Database db(path);
    Database::Transaction batch(db);
    RecordSet table(db, QStringLiteral("Abstracts"));
    for (const TestRecord& record : records) {
        table.addNew();
        for (const auto& [column, value] : record)
            table.setValue(column, value);
        table.update();
    }
    batch.commit();
    return path;
}

Bibliography& TestProgramFolder::openBibliography(const QString& path)
{
    m_bibliography.open(path, QFileInfo(path).fileName().chopped(4));
    return m_bibliography;
}

std::vector<QStringList> readRows(const QString& databasePath, const QString& sql)
{
    // Read over a connection of its own, not the program's record store, so a test sees
    // what is really in the file. Throws with the engine's words.
    SQLite::Database db(databasePath.toStdString(), SQLite::OPEN_READONLY);
    SQLite::Statement statement(db, sql.toStdString());
    std::vector<QStringList> result;
    while (statement.executeStep()) {
        QStringList values;
        for (int i = 0; i < statement.getColumnCount(); ++i) {
            const SQLite::Column column = statement.getColumn(i);
            values << (column.isNull() ? QString() : QString::fromUtf8(column.getString()));
        }
        result.push_back(values);
    }
    return result;
}

QStringList readLines(const QString& databasePath, const QString& sql)
{
    QStringList lines;
    for (const QStringList& row : readRows(databasePath, sql))
        lines << row.join(QLatin1Char('|'));
    return lines;
}

QByteArray readFileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString writeFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write the test file");
    return path;
}

} // namespace papyrant::test
