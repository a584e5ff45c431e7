// The five cleanup operations with every box they show, the answers a user gives, and
// what is stored afterwards (read back with SQLite).

#include "maintenance/Cleanup.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFolders.h"

#include <SQLiteCpp/Database.h>

#include <QtTest>

#include <memory>

using namespace papyrant;
using namespace papyrant::test;

namespace {

QString describe(const AskedPrompt& asked)
{
    if (asked.kind == AskedPrompt::Kind::Input)
        return asked.title + '|' + asked.text + "|input:" + asked.preset;
    static const QStringList buttons{"Ok", "OkCancel", "YesNo", "YesNoCancel"};
    static const QStringList icons{"None", "Question", "Critical", "Exclamation", "Information"};
    static const QStringList answers{"Ok", "Yes", "No", "Cancel"};
    return asked.title + '|' + asked.text + '|' + buttons[int(asked.buttons)] + '/' + icons[int(asked.icon)] + '/'
        + answers[int(asked.defaultButton)];
}

const QString DeleteRecords = "|Are you sure you want to delete all these records?|YesNo/Critical/No";
const QString DeleteAbstracts = "\nAre you sure you want to delete these abstracts?|YesNo/Critical/No";
const QString Merge = "|OkCancel/Question/Cancel";
const QStringList Unchanged{
    "Reviews@1.2.2020", "Reviews@1.2.2020", "Crohn's@3.4.2021", "Methods@1.2.2020", "Methods@5.6.2022"};

} // namespace

class TestCleanup : public QObject {
    Q_OBJECT
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    QString m_path;

    QStringList storedRows() const
    {
        QStringList rows;
        for (const QStringList& row : readRows(m_path, "SELECT Category, Entry_Date FROM Abstracts ORDER BY rowid"))
            rows << row.join('@');
        return rows;
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        m_prompts = std::make_unique<ScriptedPrompts>();
        std::vector<TestRecord> records;
        for (const QString& row : Unchanged) {
            const QStringList parts = row.split('@');
            records.push_back({{"Title", "T"}, {"Category", parts[0]}, {"Entry_Date", parts[1]}});
        }
        m_path = m_folder->makeBibliography("tidy.pyr", records);
        m_folder->openBibliography(m_path);
    }
    void cleanup()
    {
        QVERIFY2(m_prompts->unexpected().isEmpty(), qPrintable(m_prompts->unexpected().join('\n')));
        m_prompts.reset();
        m_folder.reset();
    }

    void operation_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("answer"); // PromptButton, -1 for none
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("shown"); // "-" when nothing changed
        const int Yes = int(PromptButton::Yes), No = int(PromptButton::No), Ok = int(PromptButton::Ok),
                  Cancel = int(PromptButton::Cancel), None = -1;
        QTest::newRow("delete category of one record")
            << "deleteCategory"
            << "Crohn's"
            << ""
            << "" << Yes
            << QStringList{"Delete category|\"Crohn's\" category contain 1 abstract.\nAre you sure you want to delete "
                           "this category with all its abstracts?|YesNo/Critical/No"}
            << QStringList{"Reviews@1.2.2020", "Reviews@1.2.2020", "Methods@1.2.2020", "Methods@5.6.2022"} << "";
        QTest::newRow("delete category, No")
            << "deleteCategory"
            << "Methods"
            << ""
            << "" << No
            << QStringList{"Delete category|\"Methods\" category contain 2 abstracts.\nAre you sure you want to delete "
                           "this category with all its abstracts?|YesNo/Critical/No"}
            << Unchanged << "-";
        QTest::newRow("delete date of three records")
            << "deleteEntryDate"
            << ""
            << "1.2.2020"
            << "" << Yes << QStringList{"Delete records|3 records were  added in 1.2.2020\n" + DeleteRecords.mid(1)}
            << QStringList{"Crohn's@3.4.2021", "Methods@5.6.2022"} << "";
        QTest::newRow("delete date of one record, No")
            << "deleteEntryDate"
            << ""
            << "3.4.2021"
            << "" << No << QStringList{"Delete records|1 record was added in 3.4.2021\n" + DeleteRecords.mid(1)}
            << Unchanged << "-";
        QTest::newRow("delete a date nobody has")
            << "deleteEntryDate"
            << ""
            << "9.9.1999"
            << "" << None << QStringList{"Papyrant|Can't delete this Abstract|Ok/None/Ok"} << Unchanged << "-";
        QTest::newRow("rename onto a listed name merges")
            << "renameCategory"
            << "Reviews"
            << ""
            << "Methods" << Ok
            << QStringList{"Rename category|Please type the new category name|input:Reviews",
                   "Papyrant|You already have category called \"Methods\"\nDo you want to move all abstracts in "
                   "category \"Reviews\" to category \"Methods\"?"
                       + Merge}
            << QStringList{"Methods@1.2.2020", "Methods@1.2.2020", "Crohn's@3.4.2021", "Methods@1.2.2020",
                   "Methods@5.6.2022"}
            << "Methods";
        QTest::newRow("merge cancelled")
            << "renameCategory"
            << "Reviews"
            << ""
            << "Methods" << Cancel
            << QStringList{"Rename category|Please type the new category name|input:Reviews",
                   "Papyrant|You already have category called \"Methods\"\nDo you want to move all abstracts in "
                   "category \"Reviews\" to category \"Methods\"?"
                       + Merge}
            << Unchanged << "-";
        QTest::newRow("rename to the same name")
            << "renameCategory"
            << "Reviews"
            << ""
            << "Reviews" << None << QStringList{"Rename category|Please type the new category name|input:Reviews"}
            << Unchanged << "-";
        QTest::newRow("rename answered with nothing")
            << "renameCategory"
            << "Reviews"
            << ""
            << "" << None << QStringList{"Rename category|Please type the new category name|input:Reviews"} << Unchanged
            << "-";
        QTest::newRow("rename a name with a quote")
            << "renameCategory"
            << "Crohn's"
            << ""
            << "Crohn's disease" << None
            << QStringList{"Rename category|Please type the new category name|input:Crohn's"}
            << QStringList{"Reviews@1.2.2020", "Reviews@1.2.2020", "Crohn's disease@3.4.2021", "Methods@1.2.2020",
                   "Methods@5.6.2022"}
            << "Crohn's disease";
        QTest::newRow("date changed to any word")
            << "changeEntryDate"
            << ""
            << "1.2.2020"
            << "someday" << None << QStringList{"Change entry date|Please type the new date|input:1.2.2020"}
            << QStringList{"Reviews@someday", "Reviews@someday", "Crohn's@3.4.2021", "Methods@someday",
                   "Methods@5.6.2022"}
            << "someday";
        QTest::newRow("date changed onto a listed date")
            << "changeEntryDate"
            << ""
            << "5.6.2022"
            << "1.2.2020" << Ok
            << QStringList{"Change entry date|Please type the new date|input:5.6.2022",
                   "Papyrant|You already have abstracts were entered in \"1.2.2020\"\nDo you want to move all the "
                   "abstracts which were entered in \"5.6.2022\" to \"1.2.2020\"?"
                       + Merge}
            << QStringList{"Reviews@1.2.2020", "Reviews@1.2.2020", "Crohn's@3.4.2021", "Methods@1.2.2020",
                   "Methods@1.2.2020"}
            << "1.2.2020";
        QTest::newRow("combination of two")
            << "deleteCombination"
            << "Reviews"
            << "1.2.2020"
            << "" << Yes
            << QStringList{"Delete Abstracts|\"Reviews\" category contain 2 abstracts were entered in 1.2.2020"
                   + DeleteAbstracts}
            << QStringList{"Crohn's@3.4.2021", "Methods@1.2.2020", "Methods@5.6.2022"} << "";
        QTest::newRow("combination of one, No")
            << "deleteCombination"
            << "Methods"
            << "5.6.2022"
            << "" << No
            << QStringList{"Delete Abstracts|\"Methods\" category contain 1 abstract was entered in 5.6.2022"
                   + DeleteAbstracts}
            << Unchanged << "-";
        QTest::newRow("empty combination")
            << "deleteCombination"
            << "Crohn's"
            << "1.2.2020"
            << "" << None << QStringList{"Papyrant|There are no abstracts in this combination|Ok/None/Ok"} << Unchanged
            << "-";
    }
    void operation()
    {
        QFETCH(QString, operation);
        QFETCH(QString, category);
        QFETCH(QString, date);
        QFETCH(QString, typed);
        QFETCH(int, answer);
        QFETCH(QStringList, asked);
        QFETCH(QStringList, rows);
        QFETCH(QString, shown);
        ProgramState& state = m_folder->state();
        if (operation.startsWith("rename") || operation.startsWith("change"))
            m_prompts->answerInput(typed);
        if (answer >= 0)
            m_prompts->answerMessage(PromptButton(answer));
        CleanupOutcome outcome;
        if (operation == "deleteCategory")
            outcome = deleteCategory(state, *m_prompts, category);
        else if (operation == "renameCategory")
            outcome = renameCategory(state, *m_prompts, category, readCategoryList(state));
        else if (operation == "deleteEntryDate")
            outcome = deleteEntryDate(state, *m_prompts, date);
        else if (operation == "changeEntryDate")
            outcome = changeEntryDate(state, *m_prompts, date, readEntryDateList(state));
        else
            outcome = deleteCombination(state, *m_prompts, category, date);
        QStringList seen;
        for (const AskedPrompt& prompt : m_prompts->asked())
            seen << describe(prompt);
        QCOMPARE(seen, asked);
        QCOMPARE(storedRows(), rows);
        QCOMPARE(outcome.changed ? outcome.shown : QString("-"), shown);
        QVERIFY(m_prompts->allAnswersUsed());
    }

    void lockedBibliographyIsReportedAndUnchanged()
    {
        SQLite::Database other(m_path.toStdString(), SQLite::OPEN_READWRITE);
        other.exec("BEGIN IMMEDIATE");
        m_prompts->answerInput("Genetics");
        const CleanupOutcome outcome
            = renameCategory(m_folder->state(), *m_prompts, "Reviews", readCategoryList(m_folder->state()));
        other.exec("ROLLBACK");
        QVERIFY(!outcome.changed);
        QCOMPARE(m_prompts->messages(), QStringList{"Can't change the bibliography\ndatabase is locked"});
        QCOMPARE(storedRows(), Unchanged);
    }
};

QTEST_GUILESS_MAIN(TestCleanup)
#include "tst_Cleanup.moc"
