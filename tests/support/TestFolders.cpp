#include "support/TestFolders.h"

#include "core/Database.h"
#include "core/RecordSet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

void TestProgramFolder::openBibliography(const QString& path)
{
    ProgramState& state = programState();
    state.BibPath = path;
    state.BibName = QFileInfo(path).fileName().chopped(4);
    state.DataPath = path;
}

std::vector<QStringList> readRows(const QString& databasePath, const QString& sql)
{
    Database db(databasePath);
    RecordSet rows(db, sql);
    std::vector<QStringList> result;
    for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
        QStringList values;
        for (int i = 0; i < rows.columnNames().size(); ++i)
            values << rows.value(i);
        result.push_back(values);
    }
    return result;
}

} // namespace papyrant::test
