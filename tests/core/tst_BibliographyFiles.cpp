// Creating and opening bibliographies, with every message the user sees.

#include "core/BibliographyCheck.h"
#include "core/BibliographyFiles.h"
#include "core/Database.h"
#include "core/RecordModel.h"
#include "core/RecordSet.h"
#include "support/ScriptedPrompts.h"
#include "support/TableRows.h"
#include "support/TestFolders.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace papyrant;
using namespace papyrant::test;
using namespace Qt::StringLiterals;

namespace {
const QString CreateDialog = u"Create new Papyrant File|Papyrant File (*.pyr)|*.pyr|save:"_s;
const QString CantCreate = u"Papyrant|The new bibliography can't be created.\n%1|Ok/None/Ok"_s;
} // namespace

class BibliographyFilesTest : public QObject {
    Q_OBJECT
private slots:
    void init() { m_folder = std::make_unique<TestProgramFolder>(); }
    void cleanup() { m_folder.reset(); }

    void createCopiesTheTemplateAndNamesIt()
    {
        ScriptedPrompts prompts;
        const QString target = m_folder->filePath("bibliography1.pyr");
        prompts.answerFile(target);
        QCOMPARE(createBibliography(prompts, programState(), bibliography()).value_or("failed"),
            "bibliography name is: bibliography1, contains no records");
        QCOMPARE(prompts.described(), QStringList{CreateDialog + "bibliography1"});
        QCOMPARE(readFileBytes(target), readFileBytes(m_folder->filePath("VarEdoRecors")));
        QCOMPARE(bibliography().BibName(), "bibliography1");
        QCOMPARE(bibliography().BibPath(), target);
    }

    void replacingAsksAndNoShowsTheDialogAgain_data()
    {
        QTest::addColumn<QString>("fileName");
        row("a bibliography", u"refs.pyr"_s);
        row("a file of another kind", u"notes.txt"_s);
    }
    void replacingAsksAndNoShowsTheDialogAgain()
    {
        QFETCH(QString, fileName);
        const QString existing = m_folder->makeBibliography(fileName, {{{"Title", "kept"}}});
        const QByteArray before = readFileBytes(existing);
        ScriptedPrompts prompts;
        prompts.answerFile(existing);
        prompts.answerMessage(PromptButton::No);
        prompts.cancelFile();
        QVERIFY(!createBibliography(prompts, programState(), bibliography()));
        QCOMPARE(prompts.described(),
            (QStringList{CreateDialog + "bibliography1",
                "Papyrant|You already have file called \"" + fileName
                    + "\"\nDo you want to replace it?|YesNo/Question/No",
                CreateDialog + fileName.chopped(4)}));
        QCOMPARE(readFileBytes(existing), before);
        QVERIFY(bibliography().BibName().isEmpty());
    }

    void replacingWithYesEmptiesTheFile()
    {
        const QString existing = m_folder->makeBibliography("refs.pyr", {{{"Title", "gone"}}});
        ScriptedPrompts prompts;
        prompts.answerFile(existing);
        prompts.answerMessage(PromptButton::Yes);
        QCOMPARE(createBibliography(prompts, programState(), bibliography()).value_or("failed"),
            "bibliography name is: refs, contains no records");
        QVERIFY(readRows(existing, "Select Title From Abstracts").empty());
    }

    void cancellingChangesNothing()
    {
        ScriptedPrompts prompts;
        prompts.cancelFile();
        prompts.cancelFile();
        bibliography().open(m_folder->filePath("before.pyr"), "before");
        QVERIFY(!createBibliography(prompts, programState(), bibliography()));
        QVERIFY(!openBibliography(prompts, bibliography()));
        QCOMPARE(bibliography().BibName(), "before");
        QVERIFY(prompts.messages().isEmpty());
    }

    void createFailures_data()
    {
        QTest::addColumn<QString>("fileTitle");
        QTest::addColumn<QString>("made"); // what stands in the way, if anything
        QTest::addColumn<QString>("reason");
        row("missing template", u"new.pyr"_s, u"no template"_s,
            "some of assistant files couldn't be found\nTry to close the program "
            "then run it again from start\\programs menu and try again\nIf the "
            "problem persist try to setup the program once again.");
        row("title too short", u"a.b"_s, u""_s, "the file name \"a.b\" is too short to end in \".pyr\"");
        row("missing folder", u"no/such/folder/x.pyr"_s, u""_s, "No such file or directory");
        row("read-only file", u"locked.pyr"_s, u"read-only"_s, "Permission denied");
    }
    void createFailures()
    {
        QFETCH(QString, fileTitle);
        QFETCH(QString, made);
        QFETCH(QString, reason);
        ScriptedPrompts prompts;
        const QString path = m_folder->filePath(fileTitle);
        if (made == "no template")
            QVERIFY(QFile::remove(m_folder->filePath("VarEdoRecors")));
        if (made == "read-only") {
            m_folder->makeBibliography(fileTitle, {{{"Title", "kept"}}});
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup);
            prompts.answerMessage(PromptButton::Yes); // replace it
        }
        prompts.answerFile(path);
        QVERIFY(!createBibliography(prompts, programState(), bibliography()));
        QCOMPARE(prompts.described().size(), made == "read-only" ? 3 : 2); // dialog, replace question, failure
        QCOMPARE(prompts.described().back(), CantCreate.arg(reason));
        QVERIFY(bibliography().BibName().isEmpty());
        QVERIFY(bibliography().BibPath().isEmpty());
        if (made == "read-only") {
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
            QCOMPARE(readRows(path, "Select Title From Abstracts").size(), std::size_t(1));
        }
    }

    void openShowsNameAndCount_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("status");
        row("none", u"empty.pyr"_s, 0, "bibliography name is: empty, contains no records");
        row("several", u"many.pyr"_s, 7, "bibliography name is: many, contains 7 records");
        row("other extension", u"notes.db"_s, 2, "bibliography name is: note, contains 2 records");
        row("quote in name", u"Crohn's.pyr"_s, 1, "bibliography name is: Crohn's, contains 1 records");
    }
    void openShowsNameAndCount()
    {
        QFETCH(QString, fileName);
        QFETCH(int, records);
        QFETCH(QString, status);
        const QString path = m_folder->makeBibliography(fileName, std::vector<TestRecord>(records, {{"Title", "t"}}));
        ScriptedPrompts prompts;
        prompts.answerFile(path);
        QCOMPARE(openBibliography(prompts, bibliography()).value_or("failed"), status);
        QCOMPARE(prompts.described(), QStringList{"Open Papyrant File|Papyrant File (*.pyr)|*.pyr|open:"});
        QCOMPARE(bibliography().BibPath(), path);
    }

    void openFailures_data()
    {
        // What lies under the chosen name: "bytes:" content, "sql:" a database made by
        // another tool, "folder" or "loop" (a symbolic link to itself).
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("made");
        QTest::addColumn<QString>("reason");
        const QString table = "sql:CREATE TABLE Abstracts (%1Title TEXT, Authors TEXT, Author_address TEXT, "
                              "Source TEXT, Publishing_year %2, Keywords TEXT, Publication_type TEXT, Language TEXT, "
                              "Abstract TEXT, Personal TEXT, Entry_Date TEXT, Category TEXT, TitelS TEXT)";
        row("not a database", u"bad.pyr"_s, "bytes:" + QString("Title: gene\r\nAuthors: Smith J\r\n").repeated(40),
            "file is not a database");
        row("zero bytes", u"bad.pyr"_s, u"bytes:"_s, "no such table: Abstracts");
        row("no Abstracts table", u"labels.pyr"_s, u"sql:CREATE TABLE abbreviations (Name TEXT)"_s,
            "no such table: Abstracts");
        row("title too short", u"abc"_s, u"bytes:"_s, "the file name \"abc\" is too short to end in \".pyr\"");
        row("folder", u"x.pyr"_s, u"folder"_s, "%1 is a folder, not a file");
        row("link loop", u"loop.pyr"_s, u"loop"_s, "%1 cannot be reached: Too many levels of symbolic links");
        row("view", u"view.pyr"_s, u"sql:CREATE TABLE t (x); CREATE VIEW Abstracts AS SELECT * FROM t"_s,
            "Abstracts is a view, not an ordinary table");
        row("without row ids", u"wr.pyr"_s,
            QString(table).replace("Title TEXT", "Title TEXT PRIMARY KEY").arg("", "TEXT") + " WITHOUT ROWID",
            "Abstracts is a table without row ids, not an ordinary table");
        row("missing column", u"cols.pyr"_s, QString(table).remove("Keywords TEXT, ").arg("", "TEXT"),
            "the table Abstracts has no column Keywords");
        row("numeric column", u"int.pyr"_s, table.arg("", "INTEGER"),
            "the column Publishing_year of the table Abstracts is declared INTEGER, not as text");
        row("untyped column", u"none.pyr"_s, table.arg("", ""),
            "the column Publishing_year of the table Abstracts is declared without a type, not as text");
        row("columns in another order", u"order.pyr"_s,
            QString(table).remove(", Authors TEXT").arg("Authors TEXT, ", "TEXT"),
            "the table Abstracts has the column Authors where Title belongs");
        const QString notNull = "the column Shelf of the table Abstracts is NOT NULL without a default, so no record "
                                "could be added";
        row("NOT NULL column after the record's", u"shelf.pyr"_s,
            QString(table).replace("TitelS TEXT", "TitelS TEXT, Shelf TEXT NOT NULL").arg("", "TEXT"), notNull);
        row("NOT NULL column whose default is NULL", u"shelf.pyr"_s,
            QString(table).replace("TitelS TEXT", "TitelS TEXT, Shelf TEXT NOT NULL DEFAULT NULL").arg("", "TEXT"),
            notNull);
    }
    void openFailures()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, made);
        QFETCH(QString, reason);
        const QString path = m_folder->filePath(fileName);
        if (made == "folder")
            QVERIFY(QDir().mkdir(path));
        else if (made == "loop")
            QVERIFY(QFile::link(path, path));
        else if (made.startsWith("sql:"))
            OtherConnection(path, made.mid(4).toUtf8().constData());
        else
            writeFileBytes(path, made.mid(6).toUtf8());
        const QByteArray before = readFileBytes(path);
        bibliography().open(m_folder->filePath("previous.pyr"), "previous");
        ScriptedPrompts prompts;
        prompts.answerFile(path);
        QVERIFY(!openBibliography(prompts, bibliography()));
        QCOMPARE(prompts.messages(), QStringList{"Can't open this file\n" + QString(reason).replace("%1", path)});
        // The bibliography open before is still the open one.
        QCOMPARE(bibliography().BibName(), "previous");
        QCOMPARE(readFileBytes(path), before);
    }

    // Columns after the record's that an add leaves to the engine do not stop a file.
    void extraColumnsAnAddCanFill_data()
    {
        QTest::addColumn<QString>("extra");
        row("NOT NULL with a default", u"Shelf TEXT NOT NULL DEFAULT 'A1'"_s);
        row("row id key", u"Id INTEGER PRIMARY KEY NOT NULL"_s);
    }
    void extraColumnsAnAddCanFill()
    {
        QFETCH(QString, extra);
        const QString path = m_folder->filePath("extra.pyr");
        const QStringList columns(columnNames().begin(), columnNames().end());
        OtherConnection(path,
            ("CREATE TABLE Abstracts (" + columns.join(" TEXT, ") + " TEXT, " + extra + ")").toUtf8().constData());
        m_folder->openBibliography(path);
        checkBibliography(bibliography().database());
        RecordSet table(bibliography().database(), "Abstracts");
        table.addNew();
        table.setValue("Title", "Added");
        table.update();
        QCOMPARE(readLines(path, "SELECT Title FROM Abstracts"), QStringList{"Added"});
    }

    void openingALockedBibliographyReportsTheLock()
    {
        const QString path = m_folder->makeBibliography("busy.pyr", {{{"Title", "t"}}});
        OtherConnection other(path, "BEGIN EXCLUSIVE; UPDATE Abstracts SET Title = 'changing'");
        ScriptedPrompts prompts;
        prompts.answerFile(path);
        QVERIFY(!openBibliography(prompts, bibliography()));
        QCOMPARE(prompts.messages(), QStringList{"Can't open this file\ndatabase is locked"});
        other.close();
        QCOMPARE(readRows(path, "Select Title From Abstracts")[0][0], "t");
    }

    // The one reader of the category list: the engine's order, and an unreadable file
    // reported with its fixed sentence, leaving the list empty.
    void categoriesAreReadOnceForEveryScreen()
    {
        ScriptedPrompts prompts;
        m_folder->openBibliography(m_folder->makeBibliography(
            "shelf.pyr", {{{"Category", "soil"}}, {{"Category", "Crohn's"}}, {{"Category", "soil"}}}));
        QCOMPARE(bibliography().refreshCategories(prompts), (QStringList{"Crohn's", "soil"}));
        // Categories another tool stored as bytes are their text: listed once, in any case.
        OtherConnection(bibliography().BibPath(),
            "INSERT INTO Abstracts (Category) VALUES (CAST('SOIL' AS BLOB)), (x'7065C3A174')");
        QCOMPARE(bibliography().refreshCategories(prompts), (QStringList{"Crohn's", "soil", u"peát"_s}));
        m_folder->openBibliography(writeFileBytes(m_folder->filePath("broken.pyr"), "no bibliography, only words"));
        QVERIFY(bibliography().refreshCategories(prompts).isEmpty());
        QCOMPARE(prompts.messages(), QStringList{"The categories could not be read.\nfile is not a database"});
    }

private:
    Bibliography& bibliography() { return m_folder->bibliography(); }

    std::unique_ptr<TestProgramFolder> m_folder;
};

QTEST_GUILESS_MAIN(BibliographyFilesTest)
#include "tst_BibliographyFiles.moc"
