// Creating and opening bibliographies, with every message the user sees.

#include "core/BibliographyFiles.h"
#include "core/Database.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFolders.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <SQLiteCpp/Database.h>

using namespace papyrant;
using test::AskedPrompt;

namespace {
const QString MissingTemplateText
    = QStringLiteral("The new bibliography can't be created.\n"
                     "some of assistant files couldn't be found\n"
                     "Try to close the program then run it again from start\\programs menu and try again\n"
                     "If the problem persist try to setup the program once again.");

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}
} // namespace

class BibliographyFilesTest : public QObject {
    Q_OBJECT
private slots:
    void init() { m_folder = std::make_unique<test::TestProgramFolder>(); }
    void cleanup() { m_folder.reset(); }

    void createCopiesTheTemplateAndNamesIt()
    {
        test::ScriptedPrompts prompts;
        const QString target = m_folder->filePath("bibliography1.pyr");
        prompts.answerFile(target);
        const auto status = createBibliography(prompts, programState());
        QCOMPARE(status.value_or("failed"), QStringLiteral("bibliography name is: bibliography1, contains no records"));
        QCOMPARE(prompts.asked().size(), std::size_t(1));
        const AskedPrompt& dialog = prompts.asked()[0];
        QCOMPARE(dialog.kind, AskedPrompt::Kind::SaveFile);
        QCOMPARE(dialog.title, QStringLiteral("Create new Papyrant File"));
        QCOMPARE(dialog.filter, QStringLiteral("Papyrant File (*.pyr)|*.pyr"));
        QCOMPARE(dialog.preset, QStringLiteral("bibliography1"));
        QCOMPARE(fileBytes(target), fileBytes(m_folder->filePath("VarEdoRecors")));
        QCOMPARE(programState().BibName, QStringLiteral("bibliography1"));
        QCOMPARE(programState().BibPath, target);
        QCOMPARE(programState().DataPath, target);
    }

    void replacingAsksAndNoShowsTheDialogAgain_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::newRow("a bibliography") << "refs.pyr";
        QTest::newRow("a file of another kind") << "notes.txt";
    }
    void replacingAsksAndNoShowsTheDialogAgain()
    {
        QFETCH(QString, fileName);
        const QString existing = m_folder->makeBibliography(fileName, {{{"Title", "kept"}}});
        const QByteArray before = fileBytes(existing);
        test::ScriptedPrompts prompts;
        prompts.answerFile(existing);
        prompts.answerMessage(PromptButton::No);
        prompts.cancelFile();
        QVERIFY(!createBibliography(prompts, programState()));
        QCOMPARE(prompts.asked().size(), std::size_t(3));
        const AskedPrompt& question = prompts.asked()[1];
        QCOMPARE(question.text, "You already have file called \"" + fileName + "\"\nDo you want to replace it?");
        QCOMPARE(question.title, QStringLiteral("Papyrant"));
        QCOMPARE(question.buttons, PromptButtons::YesNo);
        QCOMPARE(question.icon, PromptIcon::Question);
        QCOMPARE(question.defaultButton, PromptButton::No);
        QCOMPARE(prompts.asked()[2].preset, fileName.chopped(4));
        QCOMPARE(fileBytes(existing), before);
        QVERIFY(programState().BibName.isEmpty());
    }

    void replacingWithYesEmptiesTheFile()
    {
        const QString existing = m_folder->makeBibliography("refs.pyr", {{{"Title", "gone"}}});
        test::ScriptedPrompts prompts;
        prompts.answerFile(existing);
        prompts.answerMessage(PromptButton::Yes);
        QCOMPARE(createBibliography(prompts, programState()).value_or("failed"),
            QStringLiteral("bibliography name is: refs, contains no records"));
        QVERIFY(test::readRows(existing, "Select Title From Abstracts").empty());
    }

    void cancellingChangesNothing()
    {
        test::ScriptedPrompts prompts;
        prompts.cancelFile();
        prompts.cancelFile();
        programState().BibName = "before";
        QVERIFY(!createBibliography(prompts, programState()));
        QVERIFY(!openBibliography(prompts, programState()));
        QCOMPARE(programState().BibName, QStringLiteral("before"));
        QVERIFY(prompts.messages().isEmpty());
    }

    void createFailures_data()
    {
        QTest::addColumn<QString>("fileTitle");
        QTest::addColumn<bool>("removeTemplate");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing template") << "new.pyr" << true << MissingTemplateText;
        QTest::newRow("title too short") << "a.b" << false
                                         << "The new bibliography can't be created.\n"
                                            "the file name \"a.b\" is too short to end in \".pyr\"";
        QTest::newRow("missing folder") << "no/such/folder/x.pyr" << false
                                        << "The new bibliography can't be created.\nNo such file or directory";
    }
    void createFailures()
    {
        QFETCH(QString, fileTitle);
        QFETCH(bool, removeTemplate);
        QFETCH(QString, message);
        if (removeTemplate)
            QVERIFY(QFile::remove(m_folder->filePath("VarEdoRecors")));
        test::ScriptedPrompts prompts;
        prompts.answerFile(m_folder->filePath(fileTitle));
        QVERIFY(!createBibliography(prompts, programState()));
        QCOMPARE(prompts.messages(), QStringList{message});
        QCOMPARE(prompts.asked().back().buttons, PromptButtons::Ok);
        QCOMPARE(prompts.asked().back().icon, PromptIcon::None);
        QCOMPARE(prompts.asked().back().title, QStringLiteral("Papyrant"));
        QVERIFY(programState().BibName.isEmpty());
        QVERIFY(programState().BibPath.isEmpty());
    }

    void aReadOnlyFileIsNotReplaced()
    {
        const QString existing = m_folder->makeBibliography("locked.pyr", {{{"Title", "kept"}}});
        QFile::setPermissions(existing, QFile::ReadOwner | QFile::ReadGroup);
        test::ScriptedPrompts prompts;
        prompts.answerFile(existing);
        prompts.answerMessage(PromptButton::Yes);
        QVERIFY(!createBibliography(prompts, programState()));
        QCOMPARE(
            prompts.messages().value(1), QStringLiteral("The new bibliography can't be created.\nPermission denied"));
        QFile::setPermissions(existing, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(test::readRows(existing, "Select Title From Abstracts").size(), std::size_t(1));
    }

    void openShowsNameAndCount_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("status");
        QTest::newRow("one record") << "one.pyr" << 1 << "bibliography name is: one, contains 1 records";
        QTest::newRow("none") << "empty.pyr" << 0 << "bibliography name is: empty, contains no records";
        QTest::newRow("several") << "many.pyr" << 7 << "bibliography name is: many, contains 7 records";
        QTest::newRow("other extension") << "notes.db" << 2 << "bibliography name is: note, contains 2 records";
        QTest::newRow("quote in name") << "Crohn's.pyr" << 1 << "bibliography name is: Crohn's, contains 1 records";
    }
    void openShowsNameAndCount()
    {
        QFETCH(QString, fileName);
        QFETCH(int, records);
        QFETCH(QString, status);
        const QString path
            = m_folder->makeBibliography(fileName, std::vector<test::TestRecord>(records, {{"Title", "t"}}));
        test::ScriptedPrompts prompts;
        prompts.answerFile(path);
        QCOMPARE(openBibliography(prompts, programState()).value_or("failed"), status);
        const AskedPrompt& dialog = prompts.asked()[0];
        QCOMPARE(dialog.kind, AskedPrompt::Kind::OpenFile);
        QCOMPARE(dialog.title, QStringLiteral("Open Papyrant File"));
        QCOMPARE(dialog.filter, QStringLiteral("Papyrant File (*.pyr)|*.pyr"));
        QCOMPARE(dialog.preset, QString());
        QCOMPARE(programState().BibPath, path);
        QVERIFY(prompts.messages().isEmpty());
    }

    void openFailures_data()
    {
        // What lies under the chosen name: "bytes:" content, "sql:" a database made by
        // another tool, "folder" or "loop" (a symbolic link to itself).
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("made");
        QTest::addColumn<QString>("reason");
        const QString columns = "Title TEXT, Authors TEXT, Author_address TEXT, Source TEXT, Publishing_year %1, "
                                "Keywords TEXT, Publication_type TEXT, Language TEXT, Abstract TEXT, Personal TEXT, "
                                "Entry_Date TEXT, Category TEXT, TitelS TEXT";
        QTest::newRow("not a database") << "bad.pyr"
                                        << "bytes:" + QString("Title: gene\r\nAuthors: Smith J\r\n").repeated(40)
                                        << "file is not a database";
        QTest::newRow("zero bytes") << "bad.pyr"
                                    << "bytes:"
                                    << "no such table: Abstracts";
        QTest::newRow("no Abstracts table") << "labels.pyr"
                                            << "sql:CREATE TABLE abbreviations (Name TEXT)"
                                            << "no such table: Abstracts";
        QTest::newRow("title too short") << "abc"
                                         << "bytes:"
                                         << "the file name \"abc\" is too short to end in \".pyr\"";
        QTest::newRow("folder") << "x.pyr"
                                << "folder"
                                << "%1 is a folder, not a file";
        QTest::newRow("link loop") << "loop.pyr"
                                   << "loop"
                                   << "%1 cannot be reached: Too many levels of symbolic links";
        QTest::newRow("view") << "view.pyr"
                              << "sql:CREATE TABLE t (x); CREATE VIEW Abstracts AS SELECT * FROM t"
                              << "Abstracts is a view, not an ordinary table";
        QTest::newRow("without row ids") << "wr.pyr"
                                         << "sql:CREATE TABLE Abstracts (" + columns.arg("TEXT PRIMARY KEY")
                + ") WITHOUT ROWID"
                                         << "Abstracts is a table without row ids, not an ordinary table";
        QTest::newRow("missing column") << "cols.pyr"
                                        << "sql:CREATE TABLE Abstracts ("
                + QString(columns).remove("Keywords TEXT, ").arg("TEXT") + ")"
                                        << "the table Abstracts has no column Keywords";
        QTest::newRow("numeric column")
            << "int.pyr"
            << "sql:CREATE TABLE Abstracts (" + columns.arg("INTEGER") + ")"
            << "the column Publishing_year of the table Abstracts is declared INTEGER, not as text";
        QTest::newRow("untyped column")
            << "none.pyr"
            << "sql:CREATE TABLE Abstracts (" + columns.arg("") + ")"
            << "the column Publishing_year of the table Abstracts is declared without a type, not as text";
        QTest::newRow("columns in another order") << "order.pyr"
                                                  << "sql:CREATE TABLE Abstracts (Authors TEXT, "
                + QString(columns).remove("Authors TEXT, ").arg("TEXT") + ")"
                                                  << "the table Abstracts has the column Authors where Title belongs";
    }
    void openFailures()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, made);
        QFETCH(QString, reason);
        const QString path = m_folder->filePath(fileName);
        if (made == "folder") {
            QVERIFY(QDir().mkdir(path));
        } else if (made == "loop") {
            QVERIFY(QFile::link(path, path));
        } else if (made.startsWith("sql:")) {
            SQLite::Database(path.toStdString(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE)
                .exec(made.mid(4).toStdString());
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(made.mid(6).toUtf8());
        }
        const QByteArray before = fileBytes(path);
        programState().BibName = "previous";
        test::ScriptedPrompts prompts;
        prompts.answerFile(path);
        QVERIFY(!openBibliography(prompts, programState()));
        QCOMPARE(prompts.messages(), QStringList{"Can't open this file\n" + QString(reason).replace("%1", path)});
        QVERIFY(!programState().bibliographyOpen());
        QCOMPARE(fileBytes(path), before);
    }

    void openingALockedBibliographyReportsTheLock()
    {
        const QString path = m_folder->makeBibliography("busy.pyr", {{{"Title", "t"}}});
        Database other(path);
        other.execute("BEGIN EXCLUSIVE");
        other.execute("Update Abstracts SET Title = 'changing'");
        test::ScriptedPrompts prompts;
        prompts.answerFile(path);
        QVERIFY(!openBibliography(prompts, programState()));
        QCOMPARE(prompts.messages(), QStringList{"Can't open this file\ndatabase is locked"});
        other.execute("ROLLBACK");
        QCOMPARE(test::readRows(path, "Select Title From Abstracts")[0][0], QStringLiteral("t"));
    }

private:
    std::unique_ptr<test::TestProgramFolder> m_folder;
};

QTEST_GUILESS_MAIN(BibliographyFilesTest)
#include "tst_BibliographyFiles.moc"
