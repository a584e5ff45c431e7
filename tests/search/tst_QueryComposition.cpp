// What follows from the criteria rows alone: the statements and bracket messages,
// character for character, the summary and the highlight words.

#include "search/QueryComposition.h"
#include "search/SearchItems.h"

#include <QTest>

#include <initializer_list>

using namespace papyrant;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(papyrant::CriteriaRows)
Q_DECLARE_METATYPE(papyrant::SearchOptions)

namespace {

// Rows written "open|words|close|operator" (no operator: "And"), the rest empty with "And".
CriteriaRows rowsFrom(const QStringList& written)
{
    CriteriaRows rows;
    for (int i = 0; i < written.size(); ++i) {
        const QStringList parts = written[i].split(u'|');
        const QString op = parts.value(3);
        rows[i] = {parts[0], parts[1], op.isEmpty() ? u"And"_s : op, parts.value(2)};
    }
    return rows;
}

// Options searching only the given columns (indices into searchableColumnNames()).
SearchOptions searching(std::initializer_list<int> columns)
{
    SearchOptions options;
    options.searchedColumns = {};
    for (int c : columns)
        options.searchedColumns[c] = true;
    return options;
}

// Title-only options with filters: a year or language given as nullptr leaves that filter on All.
SearchOptions filtered(
    const char* from, const char* to, const char* language = nullptr, std::vector<CategoryChoice> categories = {})
{
    SearchOptions options = searching({0});
    options.allYears = !from && !to;
    options.yearFrom = QString::fromUtf8(from);
    options.yearTo = QString::fromUtf8(to);
    options.allLanguages = !language;
    options.language = QString::fromUtf8(language);
    options.categories = std::move(categories);
    return options;
}

} // namespace

class QueryCompositionTest : public QObject {
    Q_OBJECT
private slots:
    void composeQuery_data()
    {
        QTest::addColumn<CriteriaRows>("rows");
        QTest::addColumn<SearchOptions>("options");
        QTest::addColumn<QString>("statement");

        QTest::newRow("one word in title and abstract")
            << rowsFrom({"|gene||"}) << searching({0, 6})
            << "Select Abstracts.* From Abstracts Where (((( Abstracts.Title Like '* gene *' ) or "
               "( Abstracts.Title Like 'gene *' ) or ( Abstracts.Title Like '* gene' )) or "
               "(( Abstracts.Abstract Like '* gene *' ) or ( Abstracts.Abstract Like 'gene *' ) or "
               "( Abstracts.Abstract Like '* gene' ))))";

        SearchOptions every
            = filtered("1990", nullptr, "English", {{"Reviews", true}, {"Methods", false}, {"None", true}});
        every.sortChoice = QStringLiteral("Title");
        every.sortColumn = QStringLiteral("TitelS");
        QTest::newRow("negated row with every filter and sorting")
            << rowsFrom({"|gene||Not", "|virus||"}) << every
            << "Select Abstracts.* From Abstracts Where ((CAST(Abstracts.Publishing_year AS TEXT) >= '1990' )) And "
               "(CAST(Abstracts.Language AS TEXT) = 'English' ) And ((CAST(Abstracts.Category AS TEXT) = 'Reviews' ) "
               "OR "
               "(CAST(Abstracts.Category AS TEXT) = 'None' )) And (((( Abstracts.Title Like '* gene *' ) or "
               "( Abstracts.Title Like 'gene *' ) or ( Abstracts.Title Like '* gene' )))  And  "
               "((( Abstracts.Title Not Like '* virus *' ) And ( Abstracts.Title Not Like 'virus *' ) "
               "And ( Abstracts.Title Not Like '* virus' )))) Order by CAST(TitelS AS TEXT)";

        QTest::newRow("junctions follow the operators")
            << rowsFrom({"|A||Or", "|B||And", "|C||Or"}) << searching({0})
            << "Select Abstracts.* From Abstracts Where (((( Abstracts.Title Like '* A *' ) or "
               "( Abstracts.Title Like 'A *' ) or ( Abstracts.Title Like '* A' )))  Or  "
               "((( Abstracts.Title Like '* B *' ) or ( Abstracts.Title Like 'B *' ) or "
               "( Abstracts.Title Like '* B' )))  And  ((( Abstracts.Title Like '* C *' ) or "
               "( Abstracts.Title Like 'C *' ) or ( Abstracts.Title Like '* C' ))))";

        // The summary reads "A Not B Or C", but the Or after the negated B is not used.
        QTest::newRow("negated row always joins with And")
            << rowsFrom({"|A||Not", "|B||Or", "|C||"}) << searching({0})
            << "Select Abstracts.* From Abstracts Where (((( Abstracts.Title Like '* A *' ) or "
               "( Abstracts.Title Like 'A *' ) or ( Abstracts.Title Like '* A' )))  And  "
               "((( Abstracts.Title Not Like '* B *' ) And ( Abstracts.Title Not Like 'B *' ) And "
               "( Abstracts.Title Not Like '* B' )))  And  ((( Abstracts.Title Like '* C *' ) or "
               "( Abstracts.Title Like 'C *' ) or ( Abstracts.Title Like '* C' ))))";

        QTest::newRow("negation joins every column with And")
            << rowsFrom({"|A||Not", "|B||"}) << searching({1, 4})
            << "Select Abstracts.* From Abstracts Where (((( Abstracts.Authors Like '* A *' ) or "
               "( Abstracts.Authors Like 'A *' ) or ( Abstracts.Authors Like '* A' )) or "
               "(( Abstracts.Keywords Like '* A *' ) or ( Abstracts.Keywords Like 'A *' ) or "
               "( Abstracts.Keywords Like '* A' )))  And  ((( Abstracts.Authors Not Like '* B *' ) And "
               "( Abstracts.Authors Not Like 'B *' ) And ( Abstracts.Authors Not Like '* B' )) And "
               "(( Abstracts.Keywords Not Like '* B *' ) And ( Abstracts.Keywords Not Like 'B *' ) And "
               "( Abstracts.Keywords Not Like '* B' ))))";

        QTest::newRow("phrase and patterns stay one unit")
            << rowsFrom({"|gen* ther?py||"}) << searching({0})
            << "Select Abstracts.* From Abstracts Where (((( Abstracts.Title Like '* gen* ther?py *' ) "
               "or ( Abstracts.Title Like 'gen* ther?py *' ) or ( Abstracts.Title Like '* gen* ther?py' ))))";

        QTest::newRow("row brackets wrap the row term")
            << rowsFrom({"((|a||Or", "|b|)|", "|c|)|"}) << searching({0})
            << "Select Abstracts.* From Abstracts Where (((((( Abstracts.Title Like '* a *' ) or "
               "( Abstracts.Title Like 'a *' ) or ( Abstracts.Title Like '* a' )))  Or  "
               "((( Abstracts.Title Like '* b *' ) or ( Abstracts.Title Like 'b *' ) or "
               "( Abstracts.Title Like '* b' ))))  And  ((( Abstracts.Title Like '* c *' ) or "
               "( Abstracts.Title Like 'c *' ) or ( Abstracts.Title Like '* c' )))))";

        QTest::newRow("no searched column gives an empty term")
            << rowsFrom({"|a||"}) << searching({}) << "Select Abstracts.* From Abstracts Where (())";

        QTest::newRow("quotes are doubled in every literal")
            << rowsFrom({"|Crohn's||"})
            << filtered("19'9", nullptr, "Kala'allisut", {{"Crohn's", true}, {"Other", false}})
            << "Select Abstracts.* From Abstracts Where ((CAST(Abstracts.Publishing_year AS TEXT) >= '19''9' )) And "
               "(CAST(Abstracts.Language AS TEXT) = 'Kala''allisut' ) And ((CAST(Abstracts.Category AS TEXT) = "
               "'Crohn''s' )) And "
               "(((( Abstracts.Title Like '* Crohn''s *' ) or ( Abstracts.Title Like 'Crohn''s *' ) or "
               "( Abstracts.Title Like '* Crohn''s' ))))";

        // Filters alone, without words.
        const auto filtersAlone = [](const char* name, const SearchOptions& options, const char* where) {
            QTest::newRow(name) << CriteriaRows{} << options
                                << QStringLiteral("Select Abstracts.* From Abstracts") + where;
        };
        SearchOptions all = filtered(nullptr, nullptr, nullptr, {{"Reviews", true}, {"None", true}});
        all.yearFrom = all.yearTo = QStringLiteral("1990"); // left in the boxes, but "All" is ticked
        all.language = QStringLiteral("German");
        filtersAlone("nothing filled, every filter on All", all, "");
        filtersAlone(
            "from year only", filtered("1990", ""), " Where ((CAST(Abstracts.Publishing_year AS TEXT) >= '1990' ))");
        filtersAlone(
            "to year only", filtered("", "2000"), " Where ((CAST(Abstracts.Publishing_year AS TEXT) <= '2000' ))");
        filtersAlone("both years", filtered("1990", "2000"),
            " Where ((CAST(Abstracts.Publishing_year AS TEXT) >= '1990' ) And (CAST(Abstracts.Publishing_year AS TEXT) "
            "<= '2000' ))");
        filtersAlone("neither year", filtered("", ""), " Where ()");
        filtersAlone("language only", filtered(nullptr, nullptr, "German"),
            " Where (CAST(Abstracts.Language AS TEXT) = 'German' )");
        filtersAlone("one of two categories", filtered(nullptr, nullptr, nullptr, {{"A", false}, {"B", true}}),
            " Where ((CAST(Abstracts.Category AS TEXT) = 'B' ))");
        filtersAlone("no category", filtered(nullptr, nullptr, nullptr, {{"A", false}, {"B", false}}), " Where ()");
        filtersAlone("empty category list", SearchOptions{}, "");
    }
    void composeQuery()
    {
        QFETCH(CriteriaRows, rows);
        QFETCH(SearchOptions, options);
        QFETCH(QString, statement);
        QCOMPARE(ComposeQuery(rows, options), statement);
    }

    void rowsThatPlayNoPart()
    {
        const QString plain = ComposeQuery(rowsFrom({"|gene||"}), searching({0}));
        QVERIFY(!plain.contains(QStringLiteral("Not")));
        // A Not after the last filled row has nothing to negate.
        QCOMPARE(ComposeQuery(rowsFrom({"|gene||Not"}), searching({0})), plain);
        // Brackets of rows without words are left out of both the check and the statement.
        CriteriaRows bracketsOnly = rowsFrom({"|gene||"});
        bracketsOnly[1].openBrackets = QStringLiteral("((");
        bracketsOnly[2].closeBrackets = QStringLiteral(")");
        QVERIFY(!CheckBrackets(bracketsOnly).has_value());
        QCOMPARE(ComposeQuery(bracketsOnly, searching({0})), plain);

        CriteriaRows full;
        full.fill(CriteriaRow{{}, u"x"_s, u"Or"_s, {}});
        full[9].op = QStringLiteral("Not");
        const QString all = ComposeQuery(full, searching({0}));
        QCOMPARE(all.count(QStringLiteral("  Or  ")), 9);
        QVERIFY(!all.contains(QStringLiteral("Not Like")));
        QVERIFY(all.endsWith(QStringLiteral("( Abstracts.Title Like '* x' ))))")));
    }

    void checkBrackets()
    {
        auto check = [](const QStringList& rows) { return CheckBrackets(rowsFrom(rows)).value_or(u"balanced"_s); };
        QCOMPARE(check({"((|a||", "|b|)|", "|c|)|"}), "balanced");
        QCOMPARE(check({"(((|a||", "|b||", "|c|)|"}), "Incorrect number of brackets\nYou have 2 less close brackets");
        QCOMPARE(check({"|a||", "|b|)|", "|c||"}), "Incorrect number of brackets\nYou have 1 more close brackets");
        QCOMPARE(check({"(|a||", "|b|))))))|", "|c|)))))))|"}),
            "Incorrect number of brackets\nYou have 12 more close brackets");
    }

    void summary_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("summary");
        QTest::newRow("brackets, words, operators")
            << QStringList{"((|gene||Or", "|virus|)|And", "|cell|)|Or"} << "((gene Or virus) And cell)";
        QTest::newRow("Not shows as typed") << QStringList{"|A||Not", "|B||Or", "|C||"} << "A Not B Or C";
        QTest::newRow("nothing typed") << QStringList{} << "";
        // Row 1 is switched off behind an empty row 0 but row 0's bracket still shows;
        // row 2 is switched on behind B and shows with no operator before it.
        QTest::newRow("a gap") << QStringList{"(|||Or", "(|B|)|And", "|C||"} << "(C";
    }
    void summary()
    {
        QFETCH(QStringList, rows);
        QFETCH(QString, summary);
        QCOMPARE(searchSummary(rowsFrom(rows)), summary);
    }

    void highlightWords_data()
    {
        QTest::addColumn<QString>("words");
        QTest::addColumn<QString>("word");
        QTest::newRow("stars and a question mark") << u"**gen?"_s << "gen";
        QTest::newRow("between stars") << u"*virus*"_s << "virus";
        QTest::newRow("mixed, both ends") << u"?*x*?"_s << "x";
        QTest::newRow("inner pattern kept") << u"gen*e th?rapy"_s << "gen*e th?rapy";
        QTest::newRow("only pattern") << u"*?*"_s << "";
    }
    void highlightWords()
    {
        QFETCH(QString, words);
        QFETCH(QString, word);
        QCOMPARE(highlightWord(words), word);
        CriteriaRows rows;
        rows[4].words = words;
        QCOMPARE(papyrant::highlightWords(rows)[4], word);
        QCOMPARE(papyrant::highlightWords(rows)[0], QString());
    }

    void searchableColumnsInListOrder()
    {
        const auto& names = searchableColumnNames();
        QCOMPARE(QStringList(names.begin(), names.end()).join(QLatin1Char(',')),
            QStringLiteral("Title,Authors,Author_address,Source,Keywords,Publication_type,Abstract"));
        // Title, Keywords and Abstract by default.
        const QString statement = ComposeQuery(rowsFrom({"|w||"}), SearchOptions{});
        QCOMPARE(statement.count(QStringLiteral("Like '* w *'")), 3);
        for (const char* column : {"Title", "Keywords", "Abstract"})
            QVERIFY(statement.contains(QStringLiteral("Abstracts.%1 Like").arg(QLatin1String(column))));
    }
};

QTEST_GUILESS_MAIN(QueryCompositionTest)
#include "tst_QueryComposition.moc"
