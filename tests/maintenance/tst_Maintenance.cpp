// Maintenance over real bibliographies, read back with SQLite. Repeated records: which
// records auto remove takes, the report, the ticks and the progress they report, a run that
// meets a locked bibliography half-way; the review of pairs as a user walks it (which record
// is on view, which option buttons are live, which fields carry the similarity mark, and
// what is left stored). Cleanup: the five operations with every box they show, the answers
// a user gives, and what is stored afterwards.
#include "MaintenanceRecords.h"
#include "core/DataBinding.h"
#include "core/Database.h"
#include "maintenance/AutoRemoveOptions.h"
#include "maintenance/AutoRemoveRun.h"
#include "maintenance/Cleanup.h"
#include "maintenance/RepeatedPairReview.h"
#include "support/ScriptedPrompts.h"
#include "support/TableRows.h"
#include "support/TestFolders.h"

#include <QtTest>
#include <memory>

using namespace papyrant;
using namespace papyrant::test;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

const QString Unchanged = "Reviews@1.2.2020, Reviews@1.2.2020, Crohn's@3.4.2021, Methods@1.2.2020, Methods@5.6.2022";
const QString Confirm = "|YesNo/Critical/No";
const QString DeleteCategory = "\nAre you sure you want to delete this category with all its abstracts?" + Confirm;
const QString RenameReviews = "Rename category|Please type the new category name|input:Reviews";
const QString MergeReviews = "Papyrant|You already have category called \"Methods\"\nDo you want to move all abstracts "
                             "in category \"Reviews\" to category \"Methods\"?|OkCancel/Question/Cancel";

FieldFlags fields(const QList<int>& chosen)
{
    FieldFlags selected{};
    for (int slot : chosen)
        selected[slot] = true;
    return selected;
}

const QString NotCoveredOne
    = QStringLiteral("You still have 1 records appear to be similar but not cover your conditions to be deleted");
const QString DeletedOne = QStringLiteral("Papyrant deleted 1 similar records\n");
const QString NoneFound = QStringLiteral("Papyrant detect no similar records");

// "<tag on view> <1 when the first is available><2 when the second is> <record selected>
// <marks>", and " | <message>" when the step showed one. The tag is field 9 (Personal).
QString snapshot(const RepeatedPairReview& review, ScriptedPrompts& prompts)
{
    QString marks;
    for (bool mark : review.marks())
        marks += mark ? QLatin1Char('1') : QLatin1Char('0');
    QString text = QStringLiteral("%1 %2%3 %4 %5")
                       .arg(review.boxes()[Personal].isEmpty() ? QStringLiteral("-") : review.boxes()[Personal])
                       .arg(review.firstAvailable() ? '1' : '-')
                       .arg(review.secondAvailable() ? '2' : '-')
                       .arg(review.shown() == RepeatedPairReview::Shown::First ? "first" : "second")
                       .arg(marks);
    if (!prompts.messages().isEmpty())
        text += " | " + prompts.messages().join(" / ");
    prompts.clear();
    return text;
}

const QString Pair = QStringLiteral("111111111011"); // all but the tags agree
const QString NoMarks = QStringLiteral("000000000000");
const QString End = QStringLiteral(" | There are no more similar records");

} // namespace

class TestMaintenance : public QObject {
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

    void removesEarlierRecordOfAgreeingNeighbours_data()
    {
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QString>("remaining");
        QTest::addColumn<QString>("report");
        const auto add = [](const char* name, const QStringList& records, const char* remaining, const QString& report,
                             const QList<int>& selected = {Title, Abstract}) {
            row(name, records, selected, QString::fromLatin1(remaining), report);
        };
        const QString deletedTwo = "Papyrant deleted 2 similar records\n";
        add("A B C agree: the last stays", {"t|Gene|x", "t|Gene|x", "t|Gene|x"}, "r2", deletedTwo);
        add("abstract differs", {"t|Gene|x", "t|Gene|y"}, "r0 r1", NotCoveredOne);
        add("differing pair, then a deletable one", {"a|Gene|x", "a|Gene|y", "b|Cell|z", "b|Cell|z"}, "r0 r1 r3",
            DeletedOne + NotCoveredOne);
        add("trailing space and line break", {"a|Gene |x\r\n", "a|\nGene\n|x"}, "r1", DeletedOne);
        add("a carriage return alone at an end", {"a|Gene\r|x", "a|\rGene|x\r"}, "r1", DeletedOne);
        add("letter case counts", {"a|Gene|x", "a|gene|x"}, "r0 r1", NoneFound);
        add("equal titles that are no neighbours", {"a|Gene|x", "b|gene|x", "c|Gene|x"}, "r0 r1 r2", NoneFound);
        add("both abstracts missing", {"a|Gene|XX_EmptyField_XX", "a|Gene|XX_EmptyField_XX"}, "r1", DeletedOne);
        add("categories differ, Category ticked", {"a|Gene|x|Soil", "a|Gene|x|Reviews"}, "r0 r1", NotCoveredOne,
            {Title, Category});
        add("only Title ticked", {"a|Gene|x", "a|Gene|y"}, "r1", DeletedOne, {Title});
        add("neighbours among tied sort keys", {"t|A|x", "t|B|x", "t|B|x", "t|A|x"}, "r0 r2 r3", DeletedOne);
    }
    void removesEarlierRecordOfAgreeingNeighbours()
    {
        QFETCH(QStringList, records);
        QFETCH(QList<int>, selected);
        QFETCH(QString, remaining);
        QFETCH(QString, report);
        const QString path = m_folder->makeBibliography("run.pyr", taggedRecords(records));
        Database db(path);
        AutoRemoveRun run(db, fields(selected));
        QCOMPARE(runToEnd(run), StepOutcome::done());
        QCOMPARE(run.report(), report);
        QCOMPARE(remainingTags(path).join(' '), remaining);
    }

    // Records "personal|category" of one title; the tag moves to the entry date, which the
    // default options do not compare.
    void userWorkStaysWhenOnlyOneHoldsIt_data()
    {
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<QString>("remaining");
        QTest::addColumn<QString>("report");
        const QString marker = EmptyFieldMarker;
        const auto add
            = [](const char* name, const QStringList& records, const char* remaining,
                  const QString& report = DeletedOne) { row(name, records, QString::fromLatin1(remaining), report); };
        add("earlier has a comment", {"my note|None", marker + "|None"}, "r0");
        add("earlier has a category", {marker + "|Reviews", "|none"}, "r0");
        add("later has a category", {"|None", "|Reviews"}, "r1");
        add("both hold work: the earlier goes", {"a|None", "b|None"}, "r1");
        add("neither holds work", {marker + "|None", "|"}, "r1");
        add("filed one among three imports", {"|None", "|Reviews", "|None"}, "r1",
            "Papyrant deleted 2 similar records\n");
    }
    void userWorkStaysWhenOnlyOneHoldsIt()
    {
        QFETCH(QStringList, records);
        QFETCH(QString, remaining);
        QFETCH(QString, report);
        std::vector<TestRecord> rows = taggedRecords(QStringList(records.size(), u"t|Gene|x"_s));
        for (qsizetype i = 0; i < records.size(); ++i) {
            const QStringList parts = records[i].split('|');
            rows[i]["Entry_Date"] = rows[i]["Personal"];
            rows[i]["Personal"] = parts[0];
            rows[i]["Category"] = parts[1];
        }
        const QString path = m_folder->makeBibliography("own.pyr", rows);
        Database db(path);
        AutoRemoveRun run(db, AutoRemoveOptions{}.fields);
        QCOMPARE(runToEnd(run), StepOutcome::done());
        QCOMPARE(run.report(), report);
        QStringList left;
        for (const QStringList& row : readRows(path, "SELECT Entry_Date FROM Abstracts ORDER BY rowid"))
            left << row.front();
        QCOMPARE(left.join(' '), remaining);
    }

    void eachTickReportsOneStepPerRecordAndOneForTheEnd()
    {
        const QString path
            = m_folder->makeBibliography("ticks.pyr", taggedRecords({"a|X|x", "b|Y|x", "b|Y|x", "b|Y|x", "c|Z|x"}));
        Database db(path);
        AutoRemoveRun run(db, AutoRemoveOptions{}.fields);
        QCOMPARE(run.progress().total, 7);
        QList<int> progress;
        bool finished = false;
        while (!finished) {
            finished = !run.step(TickBudget(0ms)).ongoing(); // a spent budget still runs one step
            progress << run.progress().done;
        }
        QCOMPARE(progress, (QList<int>{1, 2, 3, 4, 5, 6}));
        QCOMPARE(remainingTags(path), (QStringList{"r0", "r3", "r4"}));
    }

    // Another program reading the file keeps the commit from happening: what was committed
    // stays and is reported, the rest is undone whole.
    void lockedBibliographyStopsTheRunAndKeepsCommittedTicks_data()
    {
        QTest::addColumn<int>("commitInterval");
        QTest::addColumn<QString>("report");
        QTest::addColumn<QStringList>("remaining");
        row("commit every tick", 0, "\nPapyrant deleted 1 similar records", QStringList{"r1", "r2", "r3"});
        row("ticks sharing a transaction", 500, "", QStringList{"r0", "r1", "r2", "r3"});
    }
    void lockedBibliographyStopsTheRunAndKeepsCommittedTicks()
    {
        QFETCH(int, commitInterval);
        QFETCH(QString, report);
        QFETCH(QStringList, remaining);
        const QString path
            = m_folder->makeBibliography("locked.pyr", taggedRecords({"a|A|x", "a|A|x", "b|B|x", "b|B|x"}));
        Database db(path);
        db.setBusyTimeout(0);
        AutoRemoveRun run(db, AutoRemoveOptions{}.fields, std::chrono::milliseconds(commitInterval));
        QCOMPARE(run.step(TickBudget(0ms)), StepOutcome::more()); // deletes r0
        OtherConnection reader(path, "BEGIN; SELECT count(*) FROM Abstracts;");
        const StepOutcome outcome = run.step(TickBudget()); // deletes r2, cannot commit
        reader.close();
        QCOMPARE(
            AutoRemoveFailure + '\n' + outcome.reason, "Auto remove could not finish\ndatabase is locked" + report);
        QCOMPARE(run.step(TickBudget()), outcome); // the run cannot go on
        QCOMPARE(remainingTags(path), remaining);
    }

    void deletedCountGoesPastSixteenBits()
    {
        const QString path = m_folder->makeBibliography("many.pyr");
        Database db(path);
        db.execute("INSERT INTO Abstracts (Title, TitelS, Abstract) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                   "SELECT i + 1 FROM n WHERE i < 32770) SELECT 'Same', 'Same', 'x' FROM n");
        AutoRemoveRun run(db, AutoRemoveOptions{}.fields);
        QCOMPARE(runToEnd(run, 60s), StepOutcome::done());
        QCOMPARE(run.report(), "Papyrant deleted 32769 similar records\n");
        QCOMPARE(readRows(path, "SELECT count(*) FROM Abstracts").front().front(), "1");
    }
    void walk_data()
    {
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QStringList>("states");
        QTest::addColumn<QStringList>("remaining");
        const auto add
            = [](const char* name, const QStringList& records, const QStringList& actions, const QStringList& states,
                  const QStringList& remaining) { row(name, records, actions, states, remaining); };
        const QStringList xyyyz{"a|X|x", "b|Y|x", "b|Y|x", "b|Y|x", "c|Z|x"};
        const QStringList all{"r0", "r1", "r2", "r3", "r4"};
        const QString none = "- -- first " + NoMarks;
        add("X Y Y Y Z", xyyyz, {"find", "find", "find"}, {"r1 12 first " + Pair, "r2 12 first " + Pair, none + End},
            all);
        add("second on view, then find goes on after the pair", xyyyz, {"find", "second", "find", "find"},
            {"r1 12 first " + Pair, "r2 12 second " + Pair, "r2 12 first " + Pair, none + End}, all);
        add("remove first; the second stays", {"a|A|x", "a|A|x"}, {"find", "remove", "remove"},
            {"r0 12 first " + Pair, "r1 -2 second " + NoMarks, "r1 -2 second " + NoMarks}, {"r1"});
        add("remove second, then find goes on after it", {"a|A|x", "a|A|x", "a|A|x", "b|B|x"},
            {"find", "second", "remove", "find"},
            {"r0 12 first " + Pair, "r1 12 second " + Pair, "r0 1- first " + NoMarks, none + End}, {"r0", "r2", "r3"});
        add("a twin whose sort key another tool stored as bytes", {"a|A|x", "b|B|x", "a|A|x"}, {"bytes", "find"},
            {none, "r0 12 first " + Pair}, {"r0", "r1", "r2"});
        add("empty bibliography", {}, {"find"}, {none + End}, {});
        add("titles alike but for their ends", {"a|Gene |x", "a|\nGene\r\n|x"}, {"find"}, {"r0 12 first " + Pair},
            {"r0", "r1"});
        add("a retitled second record meets its successor", {"a|A|x", "a|A|x", "b|B|x"},
            {"find", "second", "retitle B", "find"},
            {"r0 12 first " + Pair, "r1 12 second " + Pair, "r1 12 second 011111111011", "r1 12 first " + Pair},
            {"r0", "r1", "r2"});
    }
    void walk()
    {
        QFETCH(QStringList, records);
        QFETCH(QStringList, actions);
        QFETCH(QStringList, states);
        QFETCH(QStringList, remaining);
        const QString path = m_folder->makeBibliography("review.pyr", taggedRecords(records));
        DataBinding data(m_folder->openBibliography(path));
        RepeatedPairReview review(data, *m_prompts);
        QStringList seen;
        for (const QString& action : actions) {
            if (action == "find")
                review.findNext();
            else if (action == "second")
                review.showSecond();
            else if (action == "remove")
                review.removeCurrent();
            else if (action == "bytes")
                OtherConnection(path, "UPDATE Abstracts SET TitelS = CAST(TitelS AS BLOB) WHERE Personal = 'r2'");
            else if (action.startsWith("retitle ")) {
                FieldValues typed = review.boxes();
                typed[Title] = action.mid(8);
                review.updateCurrent(typed);
            }
            seen << snapshot(review, *m_prompts);
        }
        QCOMPARE(seen, states);
        QCOMPARE(remainingTags(path), remaining);
    }

    void updateStoresTypedValuesAndRecomputesMarks()
    {
        const QString path = m_folder->makeBibliography("update.pyr", taggedRecords({"a|A|x", "a|A|x"}));
        DataBinding data(m_folder->openBibliography(path));
        RepeatedPairReview review(data, *m_prompts);
        review.findNext();
        FieldValues typed = review.boxes();
        typed[Title] = " New title\n";
        typed[Keywords] = "  \r\n"; // only blanks: as good as empty
        typed[Category] = "";
        review.updateCurrent(typed);
        QCOMPARE(review.boxes(), typed);
        QCOMPARE(snapshot(review, *m_prompts), "r0 12 first 011111111010");
        QCOMPARE(readRows(path, "SELECT Title, TitelS, Keywords, Category, Personal FROM Abstracts ORDER BY rowid"),
            (std::vector<QStringList>{{"New title", "New title", "XX_EmptyField_XX", "XX_EmptyField_XX", "r0"},
                {"A", "a", "XX_EmptyField_XX", "None", "r1"}}));
    }

    void updateOfARecordDeletedElsewhereIsReported()
    {
        const QString path = m_folder->makeBibliography("gone.pyr", taggedRecords({"a|A|x", "a|A|x"}));
        DataBinding data(m_folder->openBibliography(path));
        RepeatedPairReview review(data, *m_prompts);
        review.findNext();
        Database(path).execute("DELETE FROM Abstracts WHERE Personal = 'r0'");
        review.updateCurrent(review.boxes());
        QCOMPARE(m_prompts->messages().size(), 1);
        QVERIFY(m_prompts->messages().front().startsWith("Can't update this record\n"));
        QCOMPARE(remainingTags(path), QStringList{"r1"});
    }
};

QTEST_GUILESS_MAIN(TestMaintenance)
#include "tst_Maintenance.moc"
