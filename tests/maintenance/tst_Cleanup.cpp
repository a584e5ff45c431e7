// The five cleanup operations with every box they show, the answers a user gives, and
// what is stored afterwards (read back with SQLite).

#include "maintenance/Cleanup.h"
#include "support/ScriptedPrompts.h"
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
        QTest::newRow("delete category of one record")
            << u"deleteCategory"_s << "Crohn's@" << QStringList{"Yes"}
            << QStringList{"Delete category|\"Crohn's\" category contain 1 abstract." + DeleteCategory}
            << u"Reviews@1.2.2020, Reviews@1.2.2020, Methods@1.2.2020, Methods@5.6.2022"_s << "";
        QTest::newRow("delete category, No")
            << u"deleteCategory"_s << "Methods@" << QStringList{"No"}
            << QStringList{"Delete category|\"Methods\" category contain 2 abstracts." + DeleteCategory} << Unchanged
            << "-";
        QTest::newRow("delete date of three records")
            << u"deleteEntryDate"_s << "@1.2.2020" << QStringList{"Yes"}
            << QStringList{"Delete records|3 records were  added in 1.2.2020\nAre you sure you want to delete all "
                           "these records?"
                   + Confirm}
            << u"Crohn's@3.4.2021, Methods@5.6.2022"_s << "";
        QTest::newRow("delete date of one record, No")
            << u"deleteEntryDate"_s << "@3.4.2021" << QStringList{"No"}
            << QStringList{"Delete records|1 record was added in 3.4.2021\nAre you sure you want to delete all these "
                           "records?"
                   + Confirm}
            << Unchanged << "-";
        QTest::newRow("delete a date nobody has")
            << u"deleteEntryDate"_s << "@9.9.1999" << QStringList{}
            << QStringList{"Papyrant|Can't delete this Abstract|Ok/None/Ok"} << Unchanged << "-";
        QTest::newRow("rename onto a listed name merges")
            << u"renameCategory"_s << "Reviews@" << QStringList{"=Methods", "Ok"}
            << QStringList{RenameReviews, MergeReviews}
            << u"Methods@1.2.2020, Methods@1.2.2020, Crohn's@3.4.2021, Methods@1.2.2020, Methods@5.6.2022"_s
            << "Methods";
        QTest::newRow("rename onto a listed name in another letter case asks")
            << u"renameCategory"_s << "Reviews@" << QStringList{"=methods", "Ok"}
            << QStringList{RenameReviews,
                   QString(MergeReviews)
                       .replace("called \"Methods", "called \"methods")
                       .replace("to category \"Methods", "to category \"methods")}
            << u"methods@1.2.2020, methods@1.2.2020, Crohn's@3.4.2021, Methods@1.2.2020, Methods@5.6.2022"_s
            << "methods";
        QTest::newRow("a new letter case of its own name asks nothing")
            << u"renameCategory"_s << "Reviews@" << QStringList{"=REVIEWS"} << QStringList{RenameReviews}
            << u"REVIEWS@1.2.2020, REVIEWS@1.2.2020, Crohn's@3.4.2021, Methods@1.2.2020, Methods@5.6.2022"_s
            << "REVIEWS";
        QTest::newRow("merge cancelled") << u"renameCategory"_s << "Reviews@" << QStringList{"=Methods", "Cancel"}
                                         << QStringList{RenameReviews, MergeReviews} << Unchanged << "-";
        QTest::newRow("rename to the same name") << u"renameCategory"_s << "Reviews@" << QStringList{"=Reviews"}
                                                 << QStringList{RenameReviews} << Unchanged << "-";
        QTest::newRow("rename answered with nothing")
            << u"renameCategory"_s << "Reviews@" << QStringList{"="} << QStringList{RenameReviews} << Unchanged << "-";
        QTest::newRow("rename a name with a quote")
            << u"renameCategory"_s << "Crohn's@" << QStringList{"=Crohn's disease"}
            << QStringList{"Rename category|Please type the new category name|input:Crohn's"}
            << u"Reviews@1.2.2020, Reviews@1.2.2020, Crohn's disease@3.4.2021, Methods@1.2.2020, Methods@5.6.2022"_s
            << "Crohn's disease";
        QTest::newRow("date changed to any word")
            << u"changeEntryDate"_s << "@1.2.2020" << QStringList{"=someday"}
            << QStringList{"Change entry date|Please type the new date|input:1.2.2020"}
            << u"Reviews@someday, Reviews@someday, Crohn's@3.4.2021, Methods@someday, Methods@5.6.2022"_s << "someday";
        QTest::newRow("date changed onto a listed date")
            << u"changeEntryDate"_s << "@5.6.2022" << QStringList{"=1.2.2020", "Ok"}
            << QStringList{"Change entry date|Please type the new date|input:5.6.2022",
                   "Papyrant|You already have abstracts were entered in \"1.2.2020\"\nDo you want to move all the "
                   "abstracts which were entered in \"5.6.2022\" to \"1.2.2020\"?|OkCancel/Question/Cancel"}
            << u"Reviews@1.2.2020, Reviews@1.2.2020, Crohn's@3.4.2021, Methods@1.2.2020, Methods@1.2.2020"_s
            << "1.2.2020";
        QTest::newRow("combination of two")
            << u"deleteCombination"_s << "Reviews@1.2.2020" << QStringList{"Yes"}
            << QStringList{"Delete Abstracts|\"Reviews\" category contain 2 abstracts were entered in 1.2.2020\nAre "
                           "you sure you want to delete these abstracts?"
                   + Confirm}
            << u"Crohn's@3.4.2021, Methods@1.2.2020, Methods@5.6.2022"_s << "";
        QTest::newRow("combination of one, No")
            << u"deleteCombination"_s << "Methods@5.6.2022" << QStringList{"No"}
            << QStringList{"Delete Abstracts|\"Methods\" category contain 1 abstract was entered in 5.6.2022\nAre you "
                           "sure you want to delete these abstracts?"
                   + Confirm}
            << Unchanged << "-";
        QTest::newRow("empty combination")
            << u"deleteCombination"_s << "Crohn's@1.2.2020" << QStringList{}
            << QStringList{"Papyrant|There are no abstracts in this combination|Ok/None/Ok"} << Unchanged << "-";
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
