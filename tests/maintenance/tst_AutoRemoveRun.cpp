// Auto remove over real bibliographies: which records go, the report, the ticks and the
// progress they report, and a run that meets a locked bibliography half-way.

#include "MaintenanceRecords.h"

#include "core/Database.h"
#include "maintenance/AutoRemoveOptions.h"
#include "maintenance/AutoRemoveRun.h"

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

} // namespace

class TestAutoRemoveRun : public QObject {
    Q_OBJECT
    std::unique_ptr<TestProgramFolder> m_folder;

private slots:
    void init() { m_folder = std::make_unique<TestProgramFolder>(); }
    void cleanup() { m_folder.reset(); }

    void removesEarlierRecordOfAgreeingNeighbours_data()
    {
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QString>("remaining");
        QTest::addColumn<QString>("report");
        const QList<int> defaults{Title, Abstract};
        QTest::newRow("A B C agree: the last stays") << QStringList{"t|Gene|x", "t|Gene|x", "t|Gene|x"} << defaults
                                                     << u"r2"_s << "Papyrant deleted 2 similar records\n";
        QTest::newRow("abstract differs")
            << QStringList{"t|Gene|x", "t|Gene|y"} << defaults << u"r0 r1"_s << NotCoveredOne;
        QTest::newRow("differing pair, then a deletable one") << QStringList{"a|Gene|x", "a|Gene|y", "b|Cell|z",
            "b|Cell|z"} << defaults << u"r0 r1 r3"_s << DeletedOne + NotCoveredOne;
        QTest::newRow("trailing space and line break")
            << QStringList{"a|Gene |x\r\n", "a|\nGene\n|x"} << defaults << u"r1"_s << DeletedOne;
        QTest::newRow("letter case counts")
            << QStringList{"a|Gene|x", "a|gene|x"} << defaults << u"r0 r1"_s << NoneFound;
        QTest::newRow("equal titles that are no neighbours")
            << QStringList{"a|Gene|x", "b|gene|x", "c|Gene|x"} << defaults << u"r0 r1 r2"_s << NoneFound;
        QTest::newRow("both abstracts missing")
            << QStringList{"a|Gene|XX_EmptyField_XX", "a|Gene|XX_EmptyField_XX"} << defaults << u"r1"_s << DeletedOne;
        QTest::newRow("only Title ticked")
            << QStringList{"a|Gene|x", "a|Gene|y"} << QList<int>{Title} << u"r1"_s << DeletedOne;
        QTest::newRow("empty bibliography") << QStringList{} << defaults << u""_s << NoneFound;
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
        while (!run.step(TickBudget()))
            ;
        QCOMPARE(run.report(), report);
        QCOMPARE(remainingTags(path).join(' '), remaining);
    }

    void eachTickReportsOneStepPerRecordAndOneForTheEnd()
    {
        const QString path
            = m_folder->makeBibliography("ticks.pyr", taggedRecords({"a|X|x", "b|Y|x", "b|Y|x", "b|Y|x", "c|Z|x"}));
        Database db(path);
        AutoRemoveRun run(db, defaultAutoRemoveFields());
        QCOMPARE(run.progressMaximum(), 7);
        QList<int> progress;
        bool finished = false;
        while (!finished) {
            finished = run.step(TickBudget(0ms)); // a spent budget still runs one step
            progress << run.progressValue();
        }
        QCOMPARE(progress, (QList<int>{1, 2, 3, 4, 5, 6}));
        QCOMPARE(remainingTags(path), (QStringList{"r0", "r3", "r4"}));
    }

    void lockedBibliographyStopsTheRunAndKeepsFinishedTicks()
    {
        const QString path
            = m_folder->makeBibliography("locked.pyr", taggedRecords({"a|A|x", "a|A|x", "b|B|x", "b|B|x"}));
        Database db(path);
        db.setBusyTimeout(0);
        AutoRemoveRun run(db, defaultAutoRemoveFields());
        QVERIFY(!run.step(TickBudget(0ms))); // deletes r0
        QVERIFY(!run.step(TickBudget(0ms))); // r1 against r2: nothing to do
        OtherConnection other(path, "BEGIN IMMEDIATE");
        QVERIFY_THROWS_EXCEPTION(StoreError, run.step(TickBudget(0ms)));
        other.close();
        QCOMPARE(run.failureReport("database is locked"),
            "Auto remove could not finish\ndatabase is locked\nPapyrant deleted 1 similar records");
        QCOMPARE(remainingTags(path), (QStringList{"r1", "r2", "r3"}));
    }

    void deletedCountGoesPastSixteenBits()
    {
        const QString path = m_folder->makeBibliography("many.pyr");
        Database db(path);
        db.execute("INSERT INTO Abstracts (Title, TitelS, Abstract) WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                   "SELECT i + 1 FROM n WHERE i < 32770) SELECT 'Same', 'Same', 'x' FROM n");
        AutoRemoveRun run(db, defaultAutoRemoveFields());
        while (!run.step(TickBudget(60s)))
            ;
        QCOMPARE(run.report(), "Papyrant deleted 32769 similar records\n");
        QCOMPARE(readRows(path, "SELECT count(*) FROM Abstracts").front().front(), "1");
    }
};

QTEST_GUILESS_MAIN(TestAutoRemoveRun)
#include "tst_AutoRemoveRun.moc"
