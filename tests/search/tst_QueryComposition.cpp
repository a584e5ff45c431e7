// What a search finds: the criteria rows and options composed into a statement and run on
// one small bibliography, checked by the records found in statement order. Also the
// bracket messages, the summary and the highlight words, which follow from the rows alone;
// split scans that find what one connection finds, a stopped background search, and a
// statement the engine refuses leaving the previous results in place.

// And pages of results as text and marks, built from a real bibliography: record blocks,
// header, references, mark order, page list and the record under the caret.
#include "core/DataBinding.h"
#include "core/Database.h"
#include "core/RecordSet.h"
#include "core/SplitScan.h"
#include "search/Presentation.h"
#include "search/QueryComposition.h"
#include "search/SearchItems.h"
#include "search/SearchRun.h"
#include "support/TableRows.h"
#include "support/TestFolders.h"

#include <QTest>
#include <initializer_list>
#include <memory>

using namespace papyrant;
using namespace papyrant::test;
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
SearchOptions searching(std::initializer_list<int> columns, bool wholeWords = true)
{
    SearchOptions options;
    options.searchedColumns = {};
    for (int c : columns)
        options.searchedColumns[c] = true;
    options.wholeWordOnly = wholeWords;
    return options;
}

// Default columns (Title, Keywords, Abstract) with filters: a year or language given as
// nullptr leaves that filter on All.
SearchOptions filtered(
    const char* from, const char* to, const char* language = nullptr, std::vector<CategoryChoice> categories = {})
{
    SearchOptions options;
    options.allYears = !from && !to;
    options.yearFrom = QString::fromUtf8(from);
    options.yearTo = QString::fromUtf8(to);
    options.allLanguages = !language;
    options.language = QString::fromUtf8(language);
    options.categories = std::move(categories);
    return options;
}

SearchOptions sortedBy(SearchOptions options, const QString& choice, const QString& column)
{
    options.sortChoice = choice;
    options.sortColumn = column;
    return options;
}

// The shared bibliography. Each record is named by its personal comment; the searched
// words sit beside full stops, commas, colons, brackets, quotes, hyphens and digits, in
// Latin, German and Cyrillic script, and at the fields' edges.
std::vector<TestRecord> records()
{
    auto record = [](const char* name, const char* title, const char* keywords, const char* abstract, const char* year,
                      const char* language, const char* category, const char* authors) {
        TestRecord r{{"Personal", name}, {"Title", QString::fromUtf8(title)}, {"TitelS", QString::fromUtf8(title)},
            {"Publishing_year", year}, {"Language", language}, {"Category", category},
            {"Authors", QString::fromUtf8(authors)}};
        if (keywords)
            r["Keywords"] = QString::fromUtf8(keywords);
        if (abstract)
            r["Abstract"] = QString::fromUtf8(abstract);
        return r;
    };
    return {
        record("bio", "The Bio* toolkits--a brief overview.", "Python; Perl", "Tools written in Python.", "2002",
            "English", "Reviews", "Stajich J"),
        record("mul", "Müller, Hans: a study", "gene-therapy", "Crohn's disease", "1995", "German", "None", "Müller H"),
        record("ru", "Состояние. Обзор", "(gene)", "\"gene\" 42 genes", "2010", "Russian", "Methods", "Иванов И"),
        record("dig", "gene2 and H2O", "[gene]", "In 1998 the gene was", "1998", "English", "None", "Li J"),
        record("edge", "gene", nullptr, "python", "2000", "English", "Reviews", "Kim S"),
        record("sub", "Genetics of pythons", "antigen", "Biopython toolkit overviews", "2005", "English", "Crohn's",
            "Stajich J"),
    };
}

// The names of the records a statement finds, in its order.
QString found(Database& db, const QString& statement)
{
    RecordSet set(db, statement);
    QStringList names;
    for (set.moveFirst(); !set.eof(); set.moveNext())
        names << set.value(QStringLiteral("Personal"));
    return names.join(QLatin1Char(' '));
}

// Records 1..120: the year is the number as three digits, so a statement can take the first n.
std::vector<TestRecord> numberedRecords()
{
    std::vector<TestRecord> records;
    for (int k = 1; k <= 120; ++k) {
        const QString n = QString::number(k);
        records.push_back({{"Title", "Title " + n}, {"Authors", "Author " + n},
            {"Publishing_year", QStringLiteral("%1").arg(k, 3, 10, QLatin1Char('0'))}, {"Source", "Journal " + n},
            {"Category", "None"}});
    }
    return records;
}

SearchSnapshot titleAndYear(bool references = false)
{
    SearchSnapshot settings;
    settings.options.outputFields = {};
    settings.options.outputFields[Title] = settings.options.outputFields[Publishing_year] = true;
    settings.options.createReferences = references;
    settings.summary = QStringLiteral("gene");
    return settings;
}

const QString Sep = QString(45, QLatin1Char('_')) + QLatin1Char('\n');

// The colour and weight a character ends with once the marks apply in order.
QString formatAt(const PresentedPage& page, int position)
{
    for (const FormatRun& run : formatRuns(static_cast<int>(page.text.size()), page.marks)) {
        if (position < run.start + run.length)
            return QStringList{"red", "blue", "black"}[static_cast<int>(run.colour)] + (run.bold ? " bold" : "");
    }
    return {};
}

} // namespace

class QueryCompositionTest : public QObject {
    Q_OBJECT
private:
    // Every test only reads the bibliography, so one file serves them all.
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<Database> m_db;

    std::unique_ptr<Database> m_numbers; // records 1..120, for the pages

    // The first n records (by year) as a result set.
    std::unique_ptr<RecordSet> firstRecords(int n)
    {
        return std::make_unique<RecordSet>(*m_numbers,
            QStringLiteral("Select Abstracts.* From Abstracts Where Abstracts.Publishing_year <= '%1' Order by "
                           "Publishing_year")
                .arg(n, 3, 10, QLatin1Char('0')));
    }

private slots:
    void initTestCase()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        const QString path = m_folder->makeBibliography(QStringLiteral("words.pyr"), records());
        // Another tool stored one record's category as bytes.
        OtherConnection(path, "UPDATE Abstracts SET Category = CAST(Category AS BLOB) WHERE Personal = 'ru'");
        m_db = std::make_unique<Database>(path);
        m_folder->openBibliography(path);
        m_numbers
            = std::make_unique<Database>(m_folder->makeBibliography(QStringLiteral("numbers.pyr"), numberedRecords()));
    }
    void cleanupTestCase()
    {
        m_db.reset();
        m_numbers.reset();
    }

    // One word, whole words on and off, over the default columns.
    void wholeWords_data()
    {
        QTest::addColumn<QString>("words");
        QTest::addColumn<QString>("whole");
        QTest::addColumn<QString>("anywhere");
        row("full stop at the field's end", "overview", "bio", "bio sub");
        row("semicolon, full stop, field edges", "python", "bio edge", "bio edge sub");
        row("letter case", "PYTHON", "bio edge", "bio edge sub");
        row("umlaut before a comma", "müller", "mul", "mul");
        row("a letter beside an umlaut", "ller", "", "mul");
        row("colon", "Hans", "mul", "mul");
        row("Cyrillic before a full stop", "состояние", "ru", "ru");
        row("part of a Cyrillic word", "стояние", "", "ru");
        row("hyphen, brackets, quotes, edges", "gene", "mul ru dig edge", "mul ru dig edge sub");
        row("digits belong to the word", "H2O", "dig", "dig");
        row("a digit inside a word", "2", "", "ru dig");
        row("apostrophe", "Crohn's", "mul", "mul");
        row("star as typed stands for any run", "gen*", "mul ru dig edge sub", "mul ru dig edge sub");
        row("leading star", "*gen", "sub", "mul ru dig edge sub");
        row("question mark is one character", "gen?", "mul ru dig edge", "mul ru dig edge sub");
        row("hash is one digit", "gene#", "dig", "dig");
        row("class", "[bp]ython", "bio edge", "bio edge sub");
    }
    void wholeWords()
    {
        QFETCH(QString, words);
        QFETCH(QString, whole);
        QFETCH(QString, anywhere);
        SearchOptions options;
        QCOMPARE(found(*m_db, ComposeQuery(rowsFrom({u"|"_s + words + u"||"_s}), options)), whole);
        options.wholeWordOnly = false;
        QCOMPARE(found(*m_db, ComposeQuery(rowsFrom({u"|"_s + words + u"||"_s}), options)), anywhere);
    }

    // The shape of the statement around the words: columns, junctions, brackets, filters, order.
    void finds_data()
    {
        QTest::addColumn<CriteriaRows>("rows");
        QTest::addColumn<SearchOptions>("options");
        QTest::addColumn<QString>("names");
        row("only the searched columns", rowsFrom({"|Stajich||"}), searching({1}), "bio sub");
        row("Or", rowsFrom({"|Hans||Or", "|1998||"}), SearchOptions{}, "mul dig");
        row("And", rowsFrom({"|gene||And", "|2||"}), searching({0, 4, 6}, false), "ru dig");
        // A record without key words is left out by a Not row, as SQL has it for a NULL field.
        row("Not", rowsFrom({"|gene||Not", "|1998||"}), SearchOptions{}, "mul ru");
        row("Not anywhere", rowsFrom({"|gene||Not", "|genes||"}), searching({0, 4, 6}, false), "mul dig sub");
        // "A Not B Or C" reads A and not B and C.
        row("a negated row joins with And", rowsFrom({"|gene||Not", "|1998||Or", "|Müller||"}), SearchOptions{}, "mul");
        row("brackets", rowsFrom({"(|python||Or", "|Hans|)|And", "|Stajich||"}), searching({0, 1, 4, 6}), "bio");
        row("without brackets And binds first", rowsFrom({"|python||Or", "|Hans||And", "|Stajich||"}),
            searching({0, 1, 4, 6}), "bio edge");
        row("years from", rowsFrom({"|gene||"}), filtered("2000", nullptr), "ru edge");
        row("years between", CriteriaRows{}, filtered("1998", "2002"), "bio dig edge");
        row("language", rowsFrom({"|gene||"}), filtered(nullptr, nullptr, "German"), "mul");
        row("categories, one stored as bytes", CriteriaRows{},
            filtered(nullptr, nullptr, nullptr, {{"Reviews", false}, {"None", true}, {"Methods", true}}), "mul ru dig");
        row("quotes in words and categories", rowsFrom({"|Crohn's||"}),
            filtered(nullptr, nullptr, nullptr, {{"Crohn's", false}, {"None", true}}), "mul");
        row("sorted by title", rowsFrom({"|gene||"}), sortedBy({}, u"Title"_s, u"TitelS"_s), "edge dig mul ru");
        row("every record, in the order added", CriteriaRows{}, SearchOptions{}, "bio mul ru dig edge sub");
    }
    void finds()
    {
        QFETCH(CriteriaRows, rows);
        QFETCH(SearchOptions, options);
        QFETCH(QString, names);
        QVERIFY(!CheckBrackets(rows).has_value());
        QCOMPARE(found(*m_db, ComposeQuery(rows, options)), names);
    }

    // Statements whose text is what users and other tools see.
    void statementText()
    {
        QCOMPARE(ComposeQuery(rowsFrom({"|Crohn's||"}), searching({0, 6})),
            "Select Abstracts.* From Abstracts Where ((( WholeWord(Abstracts.Title, 'Crohn''s') ) or "
            "( WholeWord(Abstracts.Abstract, 'Crohn''s') )))");
        // Filters ticked with nothing to filter by, and words with no column to look in.
        QCOMPARE(ComposeQuery(CriteriaRows{}, filtered("", "")), "Select Abstracts.* From Abstracts Where ()");
        QCOMPARE(ComposeQuery(rowsFrom({"|a||"}), searching({})), "Select Abstracts.* From Abstracts Where (())");
    }

    void rowsThatPlayNoPart()
    {
        const QString plain = ComposeQuery(rowsFrom({"|gene||"}), searching({0}));
        // A Not after the last filled row has nothing to negate.
        QCOMPARE(ComposeQuery(rowsFrom({"|gene||Not"}), searching({0})), plain);
        // Brackets of rows without words are left out of both the check and the statement.
        CriteriaRows bracketsOnly = rowsFrom({"|gene||"});
        bracketsOnly[1].openBrackets = QStringLiteral("((");
        bracketsOnly[2].closeBrackets = QStringLiteral(")");
        QVERIFY(!CheckBrackets(bracketsOnly).has_value());
        QCOMPARE(ComposeQuery(bracketsOnly, searching({0})), plain);

        CriteriaRows full;
        full.fill(CriteriaRow{{}, u"Müller"_s, u"Or"_s, {}});
        full[9].op = QStringLiteral("Not");
        QCOMPARE(found(*m_db, ComposeQuery(full, SearchOptions{})), u"mul"_s);
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
        row("brackets, words, operators", QStringList{"((|gene||Or", "|virus|)|And", "|cell|)|Or"},
            "((gene Or virus) And cell)");
        row("Not shows as typed", QStringList{"|A||Not", "|B||Or", "|C||"}, "A Not B Or C");
        row("nothing typed", QStringList{}, "");
        // Row 1 is switched off behind an empty row 0 but row 0's bracket still shows;
        // row 2 is switched on behind B and shows with no operator before it.
        row("a gap", QStringList{"(|||Or", "(|B|)|And", "|C||"}, "(C");
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
        row("stars and a question mark", u"**gen?"_s, "gen");
        row("between stars", u"*virus*"_s, "virus");
        row("mixed, both ends", u"?*x*?"_s, "x");
        row("inner pattern kept", u"gen*e th?rapy"_s, "gen*e th?rapy");
        row("only pattern", u"*?*"_s, "");
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
        const std::vector<QString> statements{ComposeQuery(rowsFrom({"|gene||"}), SearchOptions{}),
            ComposeQuery(rowsFrom({"|gene||"}), sorted), ComposeQuery(rowsFrom({"|gene||Not", "|python||"}), sorted),
            ComposeQuery(rowsFrom({"|gen*||Or", "|python||"}), anywhere), ComposeQuery(CriteriaRows{}, filtered),
            ComposeQuery(rowsFrom({"|record 1*||"}), sorted)};
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
        QVERIFY(runSearchStatement(binding, ComposeQuery(rowsFrom({"|gene||"}), SearchOptions{})).accepted);
        SearchJob job(db, statements[1]);
        QVERIFY(job.step(TickBudget()).ongoing());
        QVERIFY(job.progress().total > 0); // read in ranges, in the background
        job.stop();
        QCOMPARE(job.step(TickBudget()), StepOutcome::done());
        QVERIFY(job.stopped());
        QVERIFY(!job.takeResult());
        QVERIFY(!adoptSearchResult(binding, job, StepOutcome::done()).accepted);
        QCOMPARE(binding.recordset().recordCount(), 4);
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
        const QString good = ComposeQuery(rowsFrom({"|gene||"}), SearchOptions{});
        QVERIFY(runSearchStatement(binding, good).accepted);
        // Brackets that do not pair up, then words with no searched column.
        for (const QString& statement :
            {ComposeQuery(misplaced, SearchOptions{}), ComposeQuery(rowsFrom({"|gene||"}), noColumn)}) {
            const SearchOutcome outcome = runSearchStatement(binding, statement);
            QVERIFY(!outcome.accepted);
            QVERIFY2(outcome.engineError.contains(QStringLiteral("syntax error")), qPrintable(outcome.engineError));
            QCOMPARE(refusedSearchMessage(outcome.engineError),
                QStringLiteral("The search could not be run.\n") + outcome.engineError);
            // The user still sees the previous results, and a refresh re-runs them.
            QCOMPARE(binding.recordSource(), good);
            QCOMPARE(binding.recordset().recordCount(), 4);
            QCOMPARE(binding.refresh().recordCount(), 4);
        }
    }

    void pageShowsItsRecords_data()
    {
        QTest::addColumn<int>("found");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("firstNo");
        QTest::addColumn<int>("blocks");
        row("page 3 of 120", 120, 2, 101, 20);
        row("exactly 50", 50, 0, 1, 50);
        row("51, second page", 51, 1, 51, 1);
        row("none", 0, 0, 0, 0);
    }
    void pageShowsItsRecords()
    {
        QFETCH(int, found);
        QFETCH(int, page);
        QFETCH(int, firstNo);
        QFETCH(int, blocks);
        const PresentedPage shown = PresentPage(*firstRecords(found), page, found, titleAndYear());
        QCOMPARE(shown.blockCount(), blocks);
        QCOMPARE(shown.firstRecordNo, page * PageSize);
        const QString body = shown.text.mid(shown.headerLength);
        QCOMPARE(body.size(), blocks ? shown.recordEnds.back() : 0);
        QCOMPARE(body.count(QStringLiteral("Record No. ")), blocks);
        if (blocks == 0) {
            QVERIFY(shown.text.endsWith(QStringLiteral("This search revealed no records\n") + Sep + '\n'));
            return;
        }
        const QString first = QString::number(firstNo);
        const QString last = QString::number(firstNo + blocks - 1);
        QVERIFY(body.startsWith(QStringLiteral("Record No. %1 of %2\nTitle :   Title %1\nPublishing year :   ")
                                    .arg(first, QString::number(found))));
        // Each end falls right after a block's separator.
        QCOMPARE(body.mid(shown.recordEnds[1] - Sep.size(), Sep.size()), Sep);
        QVERIFY(body.contains(QStringLiteral("Record No. %1 of %2\n").arg(last).arg(found)));
    }

    void wholeTextOfAPage()
    {
        auto records = firstRecords(1);
        SearchSnapshot settings = titleAndYear(true);
        settings.options.allLanguages = false;
        settings.options.language = QStringLiteral("English");
        settings.options.allYears = false;
        settings.options.yearTo = QStringLiteral("2000");
        settings.options.sortChoice = QStringLiteral("Publishing year");
        const PresentedPage shown = PresentPage(*records, 0, 1, settings);
        const QString header = QStringLiteral("Search items :  gene\nLanguage is English\nYears to 2000\n"
                                              "Search result was sorted by Publishing year\n"
                                              "This search revealed 1 records\n")
            + Sep + '\n';
        const QString block = QStringLiteral("Record No. 1 of 1\nTitle :   Title 1\nPublishing year :   001\n\n"
                                             "References :  Author 1 (001). Title 1, Journal 1.\n")
            + Sep;
        QCOMPARE(shown.text, header + block);
        QCOMPARE(shown.headerLength, header.size());
        QCOMPARE(shown.recordEnds, (std::vector<int>{0, static_cast<int>(block.size())}));
    }

    void referenceFallbacksAndFlattening_data()
    {
        QTest::addColumn<QStringList>("parts");
        QTest::addColumn<QString>("reference");
        const QString empty = EmptyFieldMarker;
        row("no authors, no year", QStringList{empty, empty, "Gene maps", "Nature 12"},
            " Author is not available ( Publishing year is not available ). Gene maps, Nature 12.");
        row("no title, no source", QStringList{"Li J", "1999", empty, empty},
            "Li J (1999). Title year is not available , Source is not available .");
        row("two-line title", QStringList{"Li J", "1999", "Gene\nmaps", "Nature"}, "Li J (1999). Gene maps, Nature.");
        // CR LF and a blank give three blanks; one pass leaves two.
        row("CR LF and blanks", QStringList{"Li J", "1999", "Gene\r\n maps", "Nature"},
            "Li J (1999). Gene  maps, Nature.");
    }
    void referenceFallbacksAndFlattening()
    {
        QFETCH(QStringList, parts);
        QFETCH(QString, reference);
        QCOMPARE(recordReference(parts[0], parts[1], parts[2], parts[3]), reference);
    }

    void marksInOrder()
    {
        // The word "title" is red in the records, but the label "Title : " ends blue and
        // the header, which repeats the word, black and bold.
        auto records = firstRecords(2);
        SearchSnapshot settings = titleAndYear(true);
        settings.summary = QStringLiteral("title");
        settings.highlightWords[0] = QStringLiteral("title");
        settings.highlightWords[3] = QStringLiteral("JOURNAL");
        const PresentedPage shown = PresentPage(*records, 0, 2, settings);
        const int label = shown.text.indexOf(QStringLiteral("Title :   Title 1"));
        QCOMPARE(formatAt(shown, shown.text.indexOf(QStringLiteral("title"))), QStringLiteral("black bold"));
        QCOMPARE(formatAt(shown, shown.headerLength - 20), QStringLiteral("black bold"));
        QCOMPARE(formatAt(shown, label), QStringLiteral("blue"));
        QCOMPARE(formatAt(shown, label + 10), QStringLiteral("red"));
        QCOMPARE(formatAt(shown, shown.text.indexOf(QStringLiteral("Journal 2"))), QStringLiteral("red"));
        QCOMPARE(formatAt(shown, shown.text.indexOf(QStringLiteral("References : "))), QStringLiteral("blue"));
        QCOMPARE(formatAt(shown, shown.text.indexOf(QStringLiteral("Record No. 2"))), QStringLiteral("black"));
    }

    void colourOccurrences_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QList<int>>("found");
        QTest::addColumn<QList<int>>("wholeWords"); // with both edges
        QTest::addColumn<QList<int>>("openStart"); // the typed words began with a wildcard
        row("any case, anywhere, from 0", u"Virus viruses VIRUS"_s, "virus", QList<int>{0, 6, 14}, QList<int>{0, 14},
            QList<int>{0, 14});
        row("each search after the last find", u"aaaa a"_s, "aa", QList<int>{0, 2}, QList<int>{}, QList<int>{2});
        row("empty word", u"text"_s, "", QList<int>{}, QList<int>{}, QList<int>{});
        row("inside a word", u"Biopython: python."_s, "python", QList<int>{3, 11}, QList<int>{11}, QList<int>{3, 11});
        row("umlaut and Cyrillic beside", u"Müller, üller, Состояние."_s, "üller", QList<int>{1, 8}, QList<int>{8},
            QList<int>{1, 8});
        row("word inside a later match", u"genegene gene"_s, "gene", QList<int>{0, 4, 9}, QList<int>{9},
            QList<int>{4, 9});
    }
    void colourOccurrences()
    {
        QFETCH(QString, text);
        QFETCH(QString, word);
        QFETCH(QList<int>, found);
        QFETCH(QList<int>, wholeWords);
        QFETCH(QList<int>, openStart);
        const auto marked = [&](std::optional<WordEdges> edges) {
            std::vector<TextMark> marks;
            ColourOccurrences(text, word, MarkColour::Blue, marks, edges);
            QList<int> at;
            for (const TextMark& mark : marks)
                at << mark.start;
            return at;
        };
        QCOMPARE(marked(WordEdges{}), wholeWords);
        QCOMPARE(marked(WordEdges{false, true}), openStart);
        std::vector<TextMark> marks;
        QCOMPARE(ColourOccurrences(text, word, MarkColour::Blue, marks), found.size());
        QList<int> starts;
        for (const TextMark& mark : marks)
            starts << mark.start;
        QCOMPARE(starts, found);
    }

    void pageListAndRecordUnderCaret()
    {
        QCOMPARE(pageList(0), QStringList{"Record 0 of 0"});
        QCOMPARE(pageList(1), QStringList{"From 1 to 1"});
        QCOMPARE(pageList(50), QStringList{"From 1 to 50"});
        QCOMPARE(pageList(51), (QStringList{"From 1 to 50", "From 51 to 51"}));
        QCOMPARE(pageList(120), (QStringList{"From 1 to 50", "From 51 to 100", "From 101 to 120"}));
        // A header of 10 characters, blocks ending at 30, 50 and 70 on page 2.
        const std::vector<int> ends{0, 30, 50, 70};
        QCOMPARE(recordUnderCaret(9, 10, ends, 1), 0);
        QCOMPARE(recordUnderCaret(10, 10, ends, 1), 51);
        QCOMPARE(recordUnderCaret(79, 10, ends, 1), 53);
        QCOMPARE(recordUnderCaret(80, 10, ends, 1), 0);
    }

    void presentingKeepsTheCurrentRecord()
    {
        auto records = firstRecords(120);
        records->setAbsolutePosition(36);
        PresentPage(*records, 1, 120, titleAndYear());
        QCOMPARE(records->absolutePosition(), 36);
        QCOMPARE(records->value(QStringLiteral("Title")), QStringLiteral("Title 37"));
    }
};

QTEST_GUILESS_MAIN(QueryCompositionTest)
#include "tst_QueryComposition.moc"
