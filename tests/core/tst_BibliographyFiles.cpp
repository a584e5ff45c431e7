// Creating and opening bibliographies, with every message the user sees.

#include "core/BibliographyFiles.h"
#include "core/Database.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFolders.h"

#include <QFile>
#include <QTest>

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
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not a database") << "bad.pyr"
                                        << QByteArray("Title: gene therapy\r\nAuthors: Smith J\r\n").repeated(40)
                                        << "file is not a database";
        QTest::newRow("zero bytes") << "bad.pyr" << QByteArray() << "no such table: Abstracts";
        QTest::newRow("no Abstracts table") << "VarEdoAbb" << QByteArray() << "no such table: Abstracts";
        QTest::newRow("title too short") << "abc" << QByteArray()
                                         << "the file name \"abc\" is too short to end in \".pyr\"";
    }
    void openFailures()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, content);
        QFETCH(QString, reason);
        const QString path = m_folder->filePath(fileName);
        if (!QFile::exists(path)) { // the labels file is a real database without records
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        const QByteArray before = fileBytes(path);
        programState().BibName = "previous";
        test::ScriptedPrompts prompts;
        prompts.answerFile(path);
        QVERIFY(!openBibliography(prompts, programState()));
        QCOMPARE(prompts.messages(), QStringList{"Can't open this file\n" + reason});
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
