// Query composition: the statements and bracket messages, character for character.

#include "search/QueryComposition.h"

#include <QTest>

#include <initializer_list>

using namespace papyrant;

namespace {

// Rows from (open, words, operator, close) quadruples; the rest stay empty with "And".
CriteriaRows rowsOf(std::initializer_list<CriteriaRow> filled)
{
    CriteriaRows rows;
    int i = 0;
    for (const CriteriaRow& row : filled)
        rows[i++] = row;
    return rows;
}

CriteriaRow words(const QString& text, const QString& op = QStringLiteral("And"))
{
    return CriteriaRow{QString(), text, op, QString()};
}

SearchOptions titleOnly()
{
    SearchOptions options;
    options.searchedColumns = {true, false, false, false, false, false, false};
    return options;
}

} // namespace

class QueryCompositionTest : public QObject {
    Q_OBJECT
private slots:
    void oneWordInTitleAndAbstract()
    {
        SearchOptions options;
        options.searchedColumns = {true, false, false, false, false, false, true};
        QCOMPARE(ComposeQuery(rowsOf({words(QStringLiteral("gene"))}), options),
                 QStringLiteral("Select Abstracts.* From Abstracts Where (((( Abstracts.Title Like '* gene *' ) or "
                                "( Abstracts.Title Like 'gene *' ) or ( Abstracts.Title Like '* gene' )) or "
                                "(( Abstracts.Abstract Like '* gene *' ) or ( Abstracts.Abstract Like 'gene *' ) or "
                                "( Abstracts.Abstract Like '* gene' ))))"));
    }

    void negatedRowWithEveryFilterAndSorting()
    {
        SearchOptions options = titleOnly();
        options.allYears = false;
        options.yearFrom = QStringLiteral("1990");
        options.allLanguages = false;
        options.language = QStringLiteral("English");
        options.categories = {{QStringLiteral("Reviews"), true},
                              {QStringLiteral("Methods"), false},
                              {QStringLiteral("None"), true}};
        options.sortChoice = QStringLiteral("Title");
        options.sortColumn = QStringLiteral("TitelS");
        const CriteriaRows rows = rowsOf({words(QStringLiteral("gene"), QStringLiteral("Not")),
                                          words(QStringLiteral("virus"))});
        QCOMPARE(ComposeQuery(rows, options),
                 QStringLiteral("Select Abstracts.* From Abstracts Where ((Abstracts.Publishing_year >= '1990' )) And "
                                "(Abstracts.Language = 'English' ) And ((Abstracts.Category = 'Reviews' ) OR "
                                "(Abstracts.Category = 'None' )) And (((( Abstracts.Title Like '* gene *' ) or "
                                "( Abstracts.Title Like 'gene *' ) or ( Abstracts.Title Like '* gene' )))  And  "
                                "((( Abstracts.Title Not Like '* virus *' ) And ( Abstracts.Title Not Like 'virus *' ) "
                                "And ( Abstracts.Title Not Like '* virus' )))) Order by TitelS"));
    }

    void nothingFilledSelectsEveryRecord()
    {
        SearchOptions options;
        options.categories = {{QStringLiteral("Reviews"), true}, {QStringLiteral("None"), true}};
        QCOMPARE(ComposeQuery(CriteriaRows{}, options), QStringLiteral("Select Abstracts.* From Abstracts"));
    }

    void junctionsFollowTheOperators()
    {
        const CriteriaRows rows = rowsOf({words(QStringLiteral("A"), QStringLiteral("Or")),
                                          words(QStringLiteral("B"), QStringLiteral("And")),
                                          words(QStringLiteral("C"), QStringLiteral("Or"))});
        QCOMPARE(ComposeQuery(rows, titleOnly()),
                 QStringLiteral("Select Abstracts.* From Abstracts Where (((( Abstracts.Title Like '* A *' ) or "
                                "( Abstracts.Title Like 'A *' ) or ( Abstracts.Title Like '* A' )))  Or  "
                                "((( Abstracts.Title Like '* B *' ) or ( Abstracts.Title Like 'B *' ) or "
                                "( Abstracts.Title Like '* B' )))  And  ((( Abstracts.Title Like '* C *' ) or "
                                "( Abstracts.Title Like 'C *' ) or ( Abstracts.Title Like '* C' ))))"));
    }

    void negatedRowAlwaysJoinsWithAnd()
    {
        // The summary reads "A Not B Or C", but the Or after the negated B is not used.
        const CriteriaRows rows = rowsOf({words(QStringLiteral("A"), QStringLiteral("Not")),
                                          words(QStringLiteral("B"), QStringLiteral("Or")),
                                          words(QStringLiteral("C"))});
        QCOMPARE(ComposeQuery(rows, titleOnly()),
                 QStringLiteral("Select Abstracts.* From Abstracts Where (((( Abstracts.Title Like '* A *' ) or "
                                "( Abstracts.Title Like 'A *' ) or ( Abstracts.Title Like '* A' )))  And  "
                                "((( Abstracts.Title Not Like '* B *' ) And ( Abstracts.Title Not Like 'B *' ) And "
                                "( Abstracts.Title Not Like '* B' )))  And  ((( Abstracts.Title Like '* C *' ) or "
                                "( Abstracts.Title Like 'C *' ) or ( Abstracts.Title Like '* C' ))))"));
    }

    void negationJoinsEveryColumnWithAnd()
    {
        SearchOptions options;
        options.searchedColumns = {false, true, false, false, true, false, false};
        const CriteriaRows rows = rowsOf({words(QStringLiteral("A"), QStringLiteral("Not")), words(QStringLiteral("B"))});
        QCOMPARE(ComposeQuery(rows, options),
                 QStringLiteral("Select Abstracts.* From Abstracts Where (((( Abstracts.Authors Like '* A *' ) or "
                                "( Abstracts.Authors Like 'A *' ) or ( Abstracts.Authors Like '* A' )) or "
                                "(( Abstracts.Keywords Like '* A *' ) or ( Abstracts.Keywords Like 'A *' ) or "
                                "( Abstracts.Keywords Like '* A' )))  And  ((( Abstracts.Authors Not Like '* B *' ) And "
                                "( Abstracts.Authors Not Like 'B *' ) And ( Abstracts.Authors Not Like '* B' )) And "
                                "(( Abstracts.Keywords Not Like '* B *' ) And ( Abstracts.Keywords Not Like 'B *' ) And "
                                "( Abstracts.Keywords Not Like '* B' ))))"));
    }

    void notAfterTheLastRowHasNoEffect()
    {
        const QString plain = ComposeQuery(rowsOf({words(QStringLiteral("gene"))}), titleOnly());
        QCOMPARE(ComposeQuery(rowsOf({words(QStringLiteral("gene"), QStringLiteral("Not"))}), titleOnly()), plain);
        QVERIFY(!plain.contains(QStringLiteral("Not")));

        CriteriaRows ninth;
        for (CriteriaRow& row : ninth)
            row = words(QStringLiteral("x"), QStringLiteral("Or"));
        ninth[9].op = QStringLiteral("Not");
        const QString all = ComposeQuery(ninth, titleOnly());
        QCOMPARE(all.count(QStringLiteral("  Or  ")), 9);
        QVERIFY(!all.contains(QStringLiteral("Not Like")));
        QVERIFY(all.endsWith(QStringLiteral("( Abstracts.Title Like '* x' ))))")));
    }

    void phraseAndPatternsStayOneUnit()
    {
        const QString statement = ComposeQuery(rowsOf({words(QStringLiteral("gen* ther?py"))}), titleOnly());
        QCOMPARE(statement,
                 QStringLiteral("Select Abstracts.* From Abstracts Where (((( Abstracts.Title Like '* gen* ther?py *' ) "
                                "or ( Abstracts.Title Like 'gen* ther?py *' ) or ( Abstracts.Title Like "
                                "'* gen* ther?py' ))))"));
    }

    void rowBracketsWrapTheRowTerm()
    {
        const CriteriaRows rows = rowsOf({CriteriaRow{QStringLiteral("(("), QStringLiteral("a"), QStringLiteral("Or"), {}},
                                          CriteriaRow{{}, QStringLiteral("b"), QStringLiteral("And"), QStringLiteral(")")},
                                          CriteriaRow{{}, QStringLiteral("c"), QStringLiteral("And"), QStringLiteral(")")}});
        QCOMPARE(ComposeQuery(rows, titleOnly()),
                 QStringLiteral("Select Abstracts.* From Abstracts Where (((((( Abstracts.Title Like '* a *' ) or "
                                "( Abstracts.Title Like 'a *' ) or ( Abstracts.Title Like '* a' )))  Or  "
                                "((( Abstracts.Title Like '* b *' ) or ( Abstracts.Title Like 'b *' ) or "
                                "( Abstracts.Title Like '* b' ))))  And  ((( Abstracts.Title Like '* c *' ) or "
                                "( Abstracts.Title Like 'c *' ) or ( Abstracts.Title Like '* c' )))))"));
    }

    void bracketsOfEmptyRowsAreLeftOut()
    {
        CriteriaRows rows = rowsOf({words(QStringLiteral("a"))});
        rows[1].openBrackets = QStringLiteral("((");
        rows[2].closeBrackets = QStringLiteral(")");
        QVERIFY(!CheckBrackets(rows).has_value());
        QCOMPARE(ComposeQuery(rows, titleOnly()), ComposeQuery(rowsOf({words(QStringLiteral("a"))}), titleOnly()));
    }

    void noSearchedColumnGivesAnEmptyTerm()
    {
        SearchOptions options;
        options.searchedColumns = {};
        QCOMPARE(ComposeQuery(rowsOf({words(QStringLiteral("a"))}), options),
                 QStringLiteral("Select Abstracts.* From Abstracts Where (())"));
    }

    void checkBrackets_data()
    {
        QTest::addColumn<QString>("open0");
        QTest::addColumn<QString>("close1");
        QTest::addColumn<QString>("close2");
        QTest::addColumn<QString>("message");
        QTest::newRow("balanced") << "((" << ")" << ")" << QString();
        QTest::newRow("two less") << "(((" << "" << ")" << "Incorrect number of brackets\nYou have 2 less close brackets";
        QTest::newRow("one more") << "" << ")" << "" << "Incorrect number of brackets\nYou have 1 more close brackets";
        QTest::newRow("twelve more") << "(" << "))))))" << ")))))))" << "Incorrect number of brackets\nYou have 12 more close brackets";
    }
    void checkBrackets()
    {
        QFETCH(QString, open0);
        QFETCH(QString, close1);
        QFETCH(QString, close2);
        QFETCH(QString, message);
        const CriteriaRows rows = rowsOf({CriteriaRow{open0, QStringLiteral("a"), QStringLiteral("And"), {}},
                                          CriteriaRow{{}, QStringLiteral("b"), QStringLiteral("And"), close1},
                                          CriteriaRow{{}, QStringLiteral("c"), QStringLiteral("And"), close2}});
        const std::optional<QString> result = CheckBrackets(rows);
        if (message.isEmpty())
            QVERIFY(!result.has_value());
        else
            QCOMPARE(result.value_or(QString()), message);
    }

    void yearsClause_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("statement");
        QTest::newRow("from only") << "1990" << ""
                                   << "Select Abstracts.* From Abstracts Where ((Abstracts.Publishing_year >= '1990' ))";
        QTest::newRow("to only") << "" << "2000"
                                 << "Select Abstracts.* From Abstracts Where ((Abstracts.Publishing_year <= '2000' ))";
        QTest::newRow("both") << "1990" << "2000"
                              << "Select Abstracts.* From Abstracts Where ((Abstracts.Publishing_year >= '1990' ) And "
                                 "(Abstracts.Publishing_year <= '2000' ))";
        QTest::newRow("neither") << "" << "" << "Select Abstracts.* From Abstracts Where ()";
    }
    void yearsClause()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, statement);
        SearchOptions options;
        options.allYears = false;
        options.yearFrom = from;
        options.yearTo = to;
        QCOMPARE(ComposeQuery(CriteriaRows{}, options), statement);
        options.allYears = true;
        QCOMPARE(ComposeQuery(CriteriaRows{}, options), QStringLiteral("Select Abstracts.* From Abstracts"));
    }

    void categoriesClause_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QList<bool>>("selected");
        QTest::addColumn<QString>("statement");
        QTest::newRow("all selected") << QStringList{"A", "B"} << QList<bool>{true, true}
                                      << "Select Abstracts.* From Abstracts";
        QTest::newRow("empty list") << QStringList{} << QList<bool>{} << "Select Abstracts.* From Abstracts";
        QTest::newRow("one of two") << QStringList{"A", "B"} << QList<bool>{false, true}
                                    << "Select Abstracts.* From Abstracts Where ((Abstracts.Category = 'B' ))";
        QTest::newRow("none") << QStringList{"A", "B"} << QList<bool>{false, false}
                              << "Select Abstracts.* From Abstracts Where ()";
    }
    void categoriesClause()
    {
        QFETCH(QStringList, names);
        QFETCH(QList<bool>, selected);
        QFETCH(QString, statement);
        SearchOptions options;
        for (int i = 0; i < names.size(); ++i)
            options.categories.push_back({names[i], selected[i]});
        QCOMPARE(ComposeQuery(CriteriaRows{}, options), statement);
    }

    void languageClauseAndWordsTogether()
    {
        SearchOptions options = titleOnly();
        options.allLanguages = false;
        options.language = QStringLiteral("German");
        options.sortChoice = QStringLiteral("Publication type");
        options.sortColumn = QStringLiteral("Publication_type");
        QCOMPARE(ComposeQuery(rowsOf({words(QStringLiteral("x"))}), options),
                 QStringLiteral("Select Abstracts.* From Abstracts Where (Abstracts.Language = 'German' ) And "
                                "(((( Abstracts.Title Like '* x *' ) or ( Abstracts.Title Like 'x *' ) or "
                                "( Abstracts.Title Like '* x' )))) Order by Publication_type"));
    }

    void quotesAreDoubledInEveryLiteral()
    {
        SearchOptions options = titleOnly();
        options.allYears = false;
        options.yearFrom = QStringLiteral("19'9");
        options.allLanguages = false;
        options.language = QStringLiteral("Kala'allisut");
        options.categories = {{QStringLiteral("Crohn's"), true}, {QStringLiteral("Other"), false}};
        QCOMPARE(ComposeQuery(rowsOf({words(QStringLiteral("Crohn's"))}), options),
                 QStringLiteral("Select Abstracts.* From Abstracts Where ((Abstracts.Publishing_year >= '19''9' )) And "
                                "(Abstracts.Language = 'Kala''allisut' ) And ((Abstracts.Category = 'Crohn''s' )) And "
                                "(((( Abstracts.Title Like '* Crohn''s *' ) or ( Abstracts.Title Like 'Crohn''s *' ) or "
                                "( Abstracts.Title Like '* Crohn''s' ))))"));
    }

    void searchableColumnsInListOrder()
    {
        const auto& names = searchableColumnNames();
        QCOMPARE(QStringList(names.begin(), names.end()).join(QLatin1Char(',')),
                 QStringLiteral("Title,Authors,Author_address,Source,Keywords,Publication_type,Abstract"));
        const SearchOptions defaults;
        QCOMPARE(ComposeQuery(rowsOf({words(QStringLiteral("w"))}), defaults).count(QStringLiteral("Like '* w *'")), 3);
    }
};

QTEST_GUILESS_MAIN(QueryCompositionTest)
#include "tst_QueryComposition.moc"
