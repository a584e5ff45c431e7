// Running composed statements on a real bibliography: what the patterns find, and a
// statement the engine refuses leaving the previous results in place.

#include "core/DataBinding.h"
#include "search/QueryComposition.h"
#include "search/SearchRun.h"
#include "support/TestFolders.h"

#include <QTest>

using namespace papyrant;
using namespace papyrant::test;

namespace {

CriteriaRows oneRow(const QString& words)
{
    CriteriaRows rows;
    rows[0].words = words;
    return rows;
}

SearchOptions titleOnly()
{
    SearchOptions options;
    options.searchedColumns = {true, false, false, false, false, false, false};
    return options;
}

// The titles of the binding's records, in statement order.
QStringList titles(DataBinding& binding)
{
    QStringList found;
    RecordSet& set = binding.recordset();
    for (set.moveFirst(); !set.eof(); set.moveNext())
        found << set.value(QStringLiteral("Title"));
    return found;
}

} // namespace

class SearchRunTest : public QObject {
    Q_OBJECT
private:
    TestProgramFolder* m_folder = nullptr;
    QString m_bibliography;

private slots:
    void init()
    {
        m_folder = new TestProgramFolder;
        m_bibliography = m_folder->makeBibliography(
            QStringLiteral("genes.pyr"),
            {
                {{"Title", "gene therapy today"}, {"TitelS", "gene therapy today"}, {"Category", "Reviews"}},
                {{"Title", "a new gene"}, {"TitelS", "a new gene"}, {"Category", "None"}},
                {{"Title", "one gene two"}, {"TitelS", "one gene two"}, {"Category", "Methods"}},
                {{"Title", "gene"}, {"TitelS", "gene"}, {"Category", "None"}},
                {{"Title", "the gene, again"}, {"TitelS", "the gene, again"}, {"Category", "None"}},
                {{"Title", "genetic code"}, {"TitelS", "genetic code"}, {"Category", "Reviews"}},
                {{"Title", "Crohn's disease in adults"}, {"TitelS", "Crohn's disease in adults"}, {"Category", "Crohn's"}},
            });
        m_folder->openBibliography(m_bibliography);
    }
    void cleanup()
    {
        delete m_folder;
        m_folder = nullptr;
    }

    void wordsAreFoundOnlyBetweenBlanks()
    {
        DataBinding binding(m_bibliography);
        const SearchOutcome outcome = runSearchStatement(binding, ComposeQuery(oneRow(QStringLiteral("gene")), titleOnly()));
        QVERIFY(outcome.accepted);
        QCOMPARE(outcome.recordCount, 3);
        QCOMPARE(titles(binding),
                 (QStringList{QStringLiteral("gene therapy today"), QStringLiteral("a new gene"), QStringLiteral("one gene two")}));
    }

    void typedPatternsKeepTheirMeaning()
    {
        DataBinding binding(m_bibliography);
        const SearchOutcome outcome = runSearchStatement(binding, ComposeQuery(oneRow(QStringLiteral("GEN*")), titleOnly()));
        QVERIFY(outcome.accepted);
        // The star runs past the blank, so only the bare "gene" (no blank at all) and Crohn's stay out.
        QCOMPARE(titles(binding),
                 (QStringList{QStringLiteral("gene therapy today"), QStringLiteral("a new gene"), QStringLiteral("one gene two"),
                              QStringLiteral("the gene, again"), QStringLiteral("genetic code")}));
    }

    void phraseIsOneUnit()
    {
        DataBinding binding(m_bibliography);
        QCOMPARE(runSearchStatement(binding, ComposeQuery(oneRow(QStringLiteral("gene therapy")), titleOnly())).recordCount, 1);
        QCOMPARE(runSearchStatement(binding, ComposeQuery(oneRow(QStringLiteral("therapy gene")), titleOnly())).recordCount, 0);
    }

    void quotesInWordsAndCategoriesFindTheirRecords()
    {
        SearchOptions options = titleOnly();
        options.categories = {{QStringLiteral("Crohn's"), true}, {QStringLiteral("None"), false}};
        DataBinding binding(m_bibliography);
        const SearchOutcome outcome = runSearchStatement(binding, ComposeQuery(oneRow(QStringLiteral("Crohn's")), options));
        QVERIFY2(outcome.accepted, qPrintable(outcome.engineError));
        QCOMPARE(titles(binding), QStringList{QStringLiteral("Crohn's disease in adults")});
    }

    void negatedRowAndSorting()
    {
        CriteriaRows rows;
        rows[0] = CriteriaRow{QString(), QStringLiteral("gen*"), QStringLiteral("Not"), QString()};
        rows[1].words = QStringLiteral("therapy");
        SearchOptions options = titleOnly();
        options.sortChoice = QStringLiteral("Title");
        options.sortColumn = QStringLiteral("TitelS");
        DataBinding binding(m_bibliography);
        QVERIFY(runSearchStatement(binding, ComposeQuery(rows, options)).accepted);
        QCOMPARE(titles(binding),
                 (QStringList{QStringLiteral("a new gene"), QStringLiteral("genetic code"), QStringLiteral("one gene two"),
                              QStringLiteral("the gene, again")}));
    }

    void refusedStatement_data()
    {
        QTest::addColumn<QString>("statement");
        CriteriaRows misplaced;
        misplaced[0] = CriteriaRow{QString(), QStringLiteral("a"), QStringLiteral("Or"), QStringLiteral("))")};
        misplaced[1] = CriteriaRow{QStringLiteral("(("), QStringLiteral("b"), QStringLiteral("And"), QString()};
        QVERIFY(!CheckBrackets(misplaced).has_value());
        QTest::newRow("brackets that do not pair up") << ComposeQuery(misplaced, titleOnly());
        SearchOptions noColumn;
        noColumn.searchedColumns = {};
        QTest::newRow("no searched column") << ComposeQuery(oneRow(QStringLiteral("gene")), noColumn);
    }
    void refusedStatement()
    {
        QFETCH(QString, statement);
        DataBinding binding(m_bibliography);
        const QString good = ComposeQuery(oneRow(QStringLiteral("gene")), titleOnly());
        QVERIFY(runSearchStatement(binding, good).accepted);

        const SearchOutcome outcome = runSearchStatement(binding, statement);
        QVERIFY(!outcome.accepted);
        QVERIFY2(outcome.engineError.contains(QStringLiteral("syntax error")), qPrintable(outcome.engineError));
        QCOMPARE(refusedSearchMessage(outcome.engineError),
                 QStringLiteral("The search could not be run.\n") + outcome.engineError);
        // The user still sees the previous results, and a refresh re-runs them.
        QCOMPARE(binding.recordSource(), good);
        QCOMPARE(binding.recordset().recordCount(), 3);
        QCOMPARE(binding.refresh().recordCount(), 3);
    }

    void everyRecordWithoutCriteria()
    {
        DataBinding binding(m_bibliography);
        const SearchOutcome outcome = runSearchStatement(binding, ComposeQuery(CriteriaRows{}, SearchOptions{}));
        QVERIFY(outcome.accepted);
        QCOMPARE(outcome.recordCount, 7);
        QVERIFY(outcome.engineError.isEmpty());
    }
};

QTEST_GUILESS_MAIN(SearchRunTest)
#include "tst_SearchRun.moc"
