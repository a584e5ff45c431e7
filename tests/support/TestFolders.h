#pragma once
// A throw-away program folder with the built template and labels file, and
// bibliographies filled with chosen records.

#include "core/ProgramState.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <map>
#include <vector>

namespace papyrant::test {

// One record as column name -> value; columns left out are stored as NULL.
using TestRecord = std::map<QString, QString>;

class TestProgramFolder {
public:
    // Copies the built assistant files (template, labels file, help pages) into a
    // fresh folder and initialises the shared program state over it.
    TestProgramFolder();
    ~TestProgramFolder();

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& leaf) const { return m_dir.filePath(leaf); }
    ProgramState& state() { return programState(); }

    // A bibliography made from the template, holding the records, in this folder.
    QString makeBibliography(const QString& fileName, const std::vector<TestRecord>& records = {}) const;
    // Opens it as the program would after create/open (BibPath, BibName, DataPath).
    void openBibliography(const QString& path);

private:
    QTemporaryDir m_dir;
    QString m_previousDirectory;
};

// Rows of a database as column values (NULL as a null text), read with the bare SQLite
// library for asserting what was really stored.
std::vector<QStringList> readRows(const QString& databasePath, const QString& sql);

// The bytes of a file, or "(missing)" when it cannot be read.
QByteArray readFile(const QString& path);

// The folder the build writes the program into.
QString builtProgramFolder();

} // namespace papyrant::test
