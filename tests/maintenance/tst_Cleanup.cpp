// The five cleanup operations with every box they show, the answers a user gives, and
// what is stored afterwards (read back with SQLite).

#include "maintenance/Cleanup.h"
#include "support/ScriptedPrompts.h"
#include "support/TableRows.h"
#include "support/TestFolders.h"

#include <QtTest>

#include <memory>

using namespace papyrant;
using namespace papyrant::test;
using namespace Qt::StringLiterals;

namespace {

const QString Unchanged = "Reviews@1.2.2020, Reviews@1.2.2020, Crohn's@3.4.2021, Methods@1.2.2020, Methods@5.6.2022";
const QString Confirm = "|YesNo/Critical/No";
const QString DeleteCategory = "\nAre you sure you want to delete this category with all its abstracts?" + Confirm;
const QString RenameReviews = "Rename category|Please type the new category name|input:Reviews";
const QString MergeReviews = "Papyrant|You already have category called \"Methods\"\nDo you want to move all abstracts "
                             "in category \"Reviews\" to category \"Methods\"?|OkCancel/Question/Cancel";

} // namespace

class TestCleanup : public QObject {
    Q_OBJECT
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    QString m_path;

    QString storedRows() const
    {
        QStringList rows;
        for (const QStringList& row : readRows(m_path, "SELECT Category, Entry_Date FROM Abstracts ORDER BY rowid"))
            rows << row.join('@');
        return rows.join(", ");
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        m_prompts = std::make_unique<ScriptedPrompts>();
        std::vector<TestRecord> records;
        for (const QString& row : Unchanged.split(", ")) {
            const QStringList parts = row.split('@');
            records.push_back({{"Title", "T"}, {"Category", parts[0]}, {"Entry_Date", parts[1]}});
        }
        m_path = m_folder->makeBibliography("tidy.pyr", records);
        // Another tool stored the second record's values as bytes: every operation treats
        // them as their text.
        OtherConnection(m_path,
            "UPDATE Abstracts SET Category = CAST(Category AS BLOB), Entry_Date = CAST(Entry_Date AS BLOB) "
            "WHERE rowid = 2");
        m_folder->openBibliography(m_path);
    }
    void cleanup()
    {
        QVERIFY(m_prompts->allAnswersUsed());
        m_prompts.reset();
        m_folder.reset();
    }

    void operation_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("picked"); // category@date
        QTest::addColumn<QStringList>("answers"); // "=text" for an input box, else the button
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QString>("rows");
        QTest::addColumn<QString>("shown"); // "-" when nothing changed
        const auto add = [](const char* name, const char* operation, const char* picked, const QStringList& answers,
                             const QStringList& asked, const QString& rows = Unchanged, const QString& shown = "-") {
            row(name, QString::fromLatin1(operation), QString::fromUtf8(picked), answers, asked, rows, shown);
        };
        const QString deleteDate = "Delete records|%1 added in %2\nAre you sure you want to delete all these records?";
        const QString deleteCombination = "Delete Abstracts|\"%1\" category contain %2 entered in %3\nAre you sure you "
                                          "want to delete these abstracts?";
        const QString changeDate = "Change entry date|Please type the new date|input:";
        add("delete category of one record", "deleteCategory", "Crohn's@", {"Yes"},
            {"Delete category|\"Crohn's\" category contain 1 abstract." + DeleteCategory},
            "Reviews@1.2.2020, Reviews@1.2.2020, Methods@1.2.2020, Methods@5.6.2022", "");
        add("delete date of three records", "deleteEntryDate", "@1.2.2020", {"Yes"},
            {deleteDate.arg("3 records were ", "1.2.2020") + Confirm}, "Crohn's@3.4.2021, Methods@5.6.2022", "");
        add("delete date of one record, No", "deleteEntryDate", "@3.4.2021", {"No"},
            {deleteDate.arg("1 record was", "3.4.2021") + Confirm});
        add("delete a date nobody has", "deleteEntryDate", "@9.9.1999", {},
            {"Papyrant|Can't delete this Abstract|Ok/None/Ok"});
        add("rename onto a listed name merges", "renameCategory", "Reviews@", {"=Methods", "Ok"},
            {RenameReviews, MergeReviews},
            "Methods@1.2.2020, Methods@1.2.2020, Crohn's@3.4.2021, Methods@1.2.2020, Methods@5.6.2022", "Methods");
        add("rename onto a listed name in another letter case asks", "renameCategory", "Reviews@", {"=methods", "Ok"},
            {RenameReviews, QString(MergeReviews).replace("\"Methods", "\"methods")},
            "methods@1.2.2020, methods@1.2.2020, Crohn's@3.4.2021, Methods@1.2.2020, Methods@5.6.2022", "methods");
        add("a new letter case of its own name asks nothing", "renameCategory", "Reviews@", {"=REVIEWS"},
            {RenameReviews}, "REVIEWS@1.2.2020, REVIEWS@1.2.2020, Crohn's@3.4.2021, Methods@1.2.2020, Methods@5.6.2022",
            "REVIEWS");
        add("merge cancelled", "renameCategory", "Reviews@", {"=Methods", "Cancel"}, {RenameReviews, MergeReviews});
        add("rename answered with nothing", "renameCategory", "Reviews@", {"="}, {RenameReviews});
        add("rename a name with a quote", "renameCategory", "Crohn's@", {"=Crohn's disease"},
            {"Rename category|Please type the new category name|input:Crohn's"},
            "Reviews@1.2.2020, Reviews@1.2.2020, Crohn's disease@3.4.2021, Methods@1.2.2020, Methods@5.6.2022",
            "Crohn's disease");
        add("date changed to any word", "changeEntryDate", "@1.2.2020", {"=someday"}, {changeDate + "1.2.2020"},
            "Reviews@someday, Reviews@someday, Crohn's@3.4.2021, Methods@someday, Methods@5.6.2022", "someday");
        add("date changed onto a listed date", "changeEntryDate", "@5.6.2022", {"=1.2.2020", "Ok"},
            {changeDate + "5.6.2022",
                "Papyrant|You already have abstracts were entered in \"1.2.2020\"\nDo you want to move all the "
                "abstracts which were entered in \"5.6.2022\" to \"1.2.2020\"?|OkCancel/Question/Cancel"},
            "Reviews@1.2.2020, Reviews@1.2.2020, Crohn's@3.4.2021, Methods@1.2.2020, Methods@1.2.2020", "1.2.2020");
        add("combination of two", "deleteCombination", "Reviews@1.2.2020", {"Yes"},
            {deleteCombination.arg("Reviews", "2 abstracts were", "1.2.2020") + Confirm},
            "Crohn's@3.4.2021, Methods@1.2.2020, Methods@5.6.2022", "");
        add("combination of one, No", "deleteCombination", "Methods@5.6.2022", {"No"},
            {deleteCombination.arg("Methods", "1 abstract was", "5.6.2022") + Confirm});
        add("empty combination", "deleteCombination", "Crohn's@1.2.2020", {},
            {"Papyrant|There are no abstracts in this combination|Ok/None/Ok"});
    }
    void operation()
    {
        QFETCH(QString, operation);
        QFETCH(QString, picked);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, asked);
        QFETCH(QString, rows);
        QFETCH(QString, shown);
        static const QStringList buttons{"Ok", "Yes", "No", "Cancel"};
        for (const QString& answer : answers) {
            if (answer.startsWith('='))
                m_prompts->answerInput(answer.mid(1));
            else
                m_prompts->answerMessage(PromptButton(buttons.indexOf(answer)));
        }
        Bibliography& bibliography = m_folder->bibliography();
        const QString category = picked.section('@', 0, 0), date = picked.section('@', 1);
        CleanupOutcome outcome;
        if (operation == "deleteCategory")
            outcome = deleteCategory(bibliography, *m_prompts, category);
        else if (operation == "renameCategory")
            outcome = renameCategory(bibliography, *m_prompts, category, bibliography.refreshCategories(*m_prompts));
        else if (operation == "deleteEntryDate")
            outcome = deleteEntryDate(bibliography, *m_prompts, date);
        else if (operation == "changeEntryDate")
            outcome = changeEntryDate(bibliography, *m_prompts, date, readEntryDates(bibliography));
        else
            outcome = deleteCombination(bibliography, *m_prompts, category, date);
        QCOMPARE(bool(outcome.work), outcome.changed);
        if (outcome.work)
            QCOMPARE(runToEnd(*outcome.work), StepOutcome::done());
        QCOMPARE(m_prompts->described(), asked);
        QCOMPARE(storedRows(), rows);
        QCOMPARE(outcome.changed ? outcome.shown : QString("-"), shown);
    }

    // The empty entry of the lists stands for records without a value and empty ones.
    void emptyEntryReachesRecordsWithoutValue()
    {
        OtherConnection(m_path,
            "INSERT INTO Abstracts (Title, Category, Entry_Date) VALUES ('U', NULL, '7.7.2023'), ('V', '', "
            "'7.7.2023')");
        m_prompts->answerInput("Unfiled");
        Bibliography& bibliography = m_folder->bibliography();
        const CleanupOutcome renamed
            = renameCategory(bibliography, *m_prompts, "", bibliography.refreshCategories(*m_prompts));
        QCOMPARE(renamed.shown, "Unfiled");
        QCOMPARE(runToEnd(*renamed.work), StepOutcome::done());
        QCOMPARE(renamed.work->changed(), 2);
        QCOMPARE(storedRows(), Unchanged + ", Unfiled@7.7.2023, Unfiled@7.7.2023");
        OtherConnection(m_path, "UPDATE Abstracts SET Category = NULL WHERE Title = 'U'");
        m_prompts->answerMessage(PromptButton::Yes);
        const CleanupOutcome deleted = deleteCategory(bibliography, *m_prompts, "");
        QCOMPARE(runToEnd(*deleted.work), StepOutcome::done());
        QCOMPARE(m_prompts->messages().last(),
            "\"\" category contain 1 abstract.\nAre you sure you want to delete this category with all its abstracts?");
        QCOMPARE(storedRows(), Unchanged + ", Unfiled@7.7.2023");
    }

    void lockedBibliographyFailsTheChangeAndKeepsEveryRecord()
    {
        OtherConnection other(m_path, "BEGIN IMMEDIATE");
        m_prompts->answerInput("Genetics");
        const CleanupOutcome outcome
            = renameCategory(m_folder->bibliography(), *m_prompts, "Reviews", m_folder->bibliography().categories());
        QCOMPARE(runToEnd(*outcome.work), StepOutcome::failed("database is locked"));
        other.close();
        QCOMPARE(outcome.work->changed(), 0);
        QCOMPARE(storedRows(), Unchanged);
    }
};

QTEST_GUILESS_MAIN(TestCleanup)
#include "tst_Cleanup.moc"
