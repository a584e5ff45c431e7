// Repeated records over real bibliographies. Auto remove: which records go, the report,
// the ticks and the progress they report, a run that meets a locked bibliography half-way.
// The review of pairs as a user walks it: which record is on view, which option buttons are
// live, which fields carry the similarity mark, and what is left stored.

#include "MaintenanceRecords.h"

#include "core/DataBinding.h"
#include "core/Database.h"
#include "maintenance/AutoRemoveOptions.h"
#include "maintenance/AutoRemoveRun.h"
#include "maintenance/RepeatedPairReview.h"
#include "support/ScriptedPrompts.h"
#include "support/TableRows.h"

#include <QtTest>

#include <memory>

using namespace papyrant;
using namespace papyrant::test;
using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

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

class TestRepeatedRecords : public QObject {
    Q_OBJECT
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompts> m_prompts;

private slots:
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        m_prompts = std::make_unique<ScriptedPrompts>();
    }
    void cleanup()
    {
        m_prompts.reset();
        m_folder.reset();
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

QTEST_GUILESS_MAIN(TestRepeatedRecords)
#include "tst_RepeatedRecords.moc"
