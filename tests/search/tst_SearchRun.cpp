// Running composed statements on a real bibliography: split scans that find what one
// connection finds, a stopped background search, and a statement the engine refuses
// leaving the previous results in place. What the patterns find is tst_QueryComposition's.

#include "core/DataBinding.h"
#include "core/SplitScan.h"
#include "search/QueryComposition.h"
#include "search/SearchRun.h"
#include "support/TestFolders.h"

#include <QTest>

#include <memory>

using namespace papyrant;
using namespace papyrant::test;

namespace {

// One row of words, or two joined by the operator of the first.
CriteriaRows rowsOf(const QString& first, const QString& op = QStringLiteral("And"), const QString& second = {})
{
    return {CriteriaRow{{}, first, op, {}}, CriteriaRow{{}, second, QStringLiteral("And"), {}}};
}

// Searching the titles only.
SearchOptions titleOnly()
{
    SearchOptions options;
    options.searchedColumns = {true, false, false, false, false, false, false};
    return options;
}

} // namespace

class SearchRunTest : public QObject {
    Q_OBJECT
private:
    // Every test only reads the bibliography, so one folder serves them all.
    std::unique_ptr<TestProgramFolder> m_folder;
    QString m_bibliography;

private slots:
    void initTestCase()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        std::vector<TestRecord> records;
        for (const char* title : {"gene therapy today", "a new gene", "one gene two", "gene", "the gene, again",
                 "genetic code", "Crohn's disease in adults"})
            records.push_back({{"Title", title}});
        m_bibliography = m_folder->makeBibliography(QStringLiteral("genes.pyr"), records);
        m_folder->openBibliography(m_bibliography);
    }
    // Records spread over 300,000 row keys, their sort keys full of ties (letter case, a
    // trailing blank, NULL, bytes): every search finds on several connections what one
    // connection finds, in the same order.
    void splitScanFindsWhatOneConnectionFinds()
    {
        const QString path = m_folder->makeBibliography(QStringLiteral("spread.pyr"));
        OtherConnection(path,
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 900) "
            "INSERT OR IGNORE INTO Abstracts (rowid, Title, Keywords, Abstract, Category, TitelS) "
            "SELECT (i * 7919) % 300007 + 1, "
            "CASE i % 5 WHEN 0 THEN 'gene' WHEN 1 THEN 'Gene, again' WHEN 2 THEN 'genes' WHEN 3 THEN NULL "
            "ELSE 'Müller' END, "
            "CASE i % 3 WHEN 0 THEN 'python.' WHEN 1 THEN NULL ELSE 'biopython' END, "
            "'record ' || i, "
            "CASE i % 4 WHEN 0 THEN CAST('None' AS BLOB) WHEN 1 THEN 'Reviews' ELSE 'None' END, "
            "CASE i % 7 WHEN 0 THEN NULL WHEN 1 THEN 'b' WHEN 2 THEN 'B' WHEN 3 THEN 'a ' WHEN 4 THEN 'a' "
            "WHEN 5 THEN 'Ä' ELSE CAST('b' AS BLOB) END FROM n");
        Database db(path);
        SearchOptions sorted;
        sorted.sortChoice = QStringLiteral("Title");
        sorted.sortColumn = QStringLiteral("TitelS");
        SearchOptions anywhere = sorted;
        anywhere.wholeWordOnly = false;
        anywhere.sortColumn = QStringLiteral("Abstracts.Title");
        SearchOptions filtered;
        filtered.categories = {{QStringLiteral("None"), true}, {QStringLiteral("Reviews"), false}};
        const std::vector<QString> statements{ComposeQuery(rowsOf("gene"), SearchOptions{}),
            ComposeQuery(rowsOf("gene"), sorted), ComposeQuery(rowsOf("gene", "Not", "python"), sorted),
            ComposeQuery(rowsOf("gen*", "Or", "python"), anywhere), ComposeQuery(CriteriaRows{}, filtered),
            ComposeQuery(rowsOf("record 1*"), sorted)};
        for (const QString& statement : statements) {
            const auto one = RecordSet(db, statement).rowKeys();
            QVERIFY2(one.size() > 50, qPrintable(statement));
            const auto split
                = splitScanKeys(db, QStringLiteral("Abstracts"), statement.mid(statement.indexOf(" Where ")), 3);
            QVERIFY2(split.has_value(), qPrintable(statement));
            QCOMPARE(*split, one);
            QCOMPARE(RecordSet(db, statement, 4).rowKeys(), one);
        }
        // A search in the background, stopped before its keys are taken: no result, and
        // the binding keeps what it showed.
        DataBinding binding(m_folder->bibliography());
        QVERIFY(runSearchStatement(binding, ComposeQuery(rowsOf("gene"), titleOnly())).accepted);
        SearchJob job(db, statements[1]);
        QVERIFY(job.step(TickBudget()).ongoing());
        QVERIFY(job.progress().total > 0); // read in ranges, in the background
        job.stop();
        QCOMPARE(job.step(TickBudget()), StepOutcome::done());
        QVERIFY(job.stopped());
        QVERIFY(!job.takeResult());
        QVERIFY(!adoptSearchResult(binding, job, StepOutcome::done()).accepted);
        QCOMPARE(binding.recordset().recordCount(), 5);
        // Let run, the job's result is the statement's.
        SearchJob whole(db, statements[1]);
        const StepOutcome outcome = runToEnd(whole);
        QCOMPARE(outcome, StepOutcome::done());
        QCOMPARE(whole.takeResult()->rowKeys(), RecordSet(db, statements[1]).rowKeys());

        // An order it cannot compare, and work of the connection's own not yet committed,
        // are read on the one connection.
        const QString descending = "Select Abstracts.* From Abstracts Where Title Like '*gene*' Order by Title Desc";
        QVERIFY(!splitScanKeys(db, QStringLiteral("Abstracts"), descending.mid(descending.indexOf(" Where ")), 3));
        Database::Transaction pending(db);
        db.execute(QStringLiteral("DELETE FROM Abstracts WHERE Title = 'gene'"));
        QVERIFY(!splitScanKeys(db, QStringLiteral("Abstracts"), QStringLiteral(" Where Title Like '*gene*'"), 3));
        QCOMPARE(RecordSet(db, statements[0], 4).rowKeys().size(), RecordSet(db, statements[0]).rowKeys().size());
    }

    void refusedStatementKeepsThePreviousResults()
    {
        const CriteriaRows misplaced{CriteriaRow{{}, "a", "Or", "))"}, CriteriaRow{"((", "b", "And", {}}};
        QVERIFY(!CheckBrackets(misplaced).has_value());
        SearchOptions noColumn;
        noColumn.searchedColumns = {};
        DataBinding binding(m_folder->bibliography());
        const QString good = ComposeQuery(rowsOf("gene"), titleOnly());
        QVERIFY(runSearchStatement(binding, good).accepted);
        // Brackets that do not pair up, then words with no searched column.
        for (const QString& statement :
            {ComposeQuery(misplaced, titleOnly()), ComposeQuery(rowsOf("gene"), noColumn)}) {
            const SearchOutcome outcome = runSearchStatement(binding, statement);
            QVERIFY(!outcome.accepted);
            QVERIFY2(outcome.engineError.contains(QStringLiteral("syntax error")), qPrintable(outcome.engineError));
            QCOMPARE(refusedSearchMessage(outcome.engineError),
                QStringLiteral("The search could not be run.\n") + outcome.engineError);
            // The user still sees the previous results, and a refresh re-runs them.
            QCOMPARE(binding.recordSource(), good);
            QCOMPARE(binding.recordset().recordCount(), 5);
            QCOMPARE(binding.refresh().recordCount(), 5);
        }
    }
};

QTEST_GUILESS_MAIN(SearchRunTest)
#include "tst_SearchRun.moc"
