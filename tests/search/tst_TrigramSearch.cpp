// The trigram index only ever makes a search faster: with it, behind it, damaged or
// missing, every search finds the records it finds without it, in the same order.

#include "core/RecordSet.h"
#include "core/SearchIndexUpkeep.h"
#include "core/SplitScan.h"
#include "core/TrigramIndex.h"
#include "search/QueryComposition.h"
#include "support/TestFolders.h"

#include <QDeadlineTimer>
#include <QRandomGenerator>
#include <QThread>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace papyrant;
using namespace papyrant::test;
using namespace Qt::StringLiterals;

namespace {

// Texts full of the hard cases: letter case, the Kelvin sign and the long s (which fold to
// k and s), other scripts, punctuation at word edges, quotes. The later ones are rarer, so
// that the index names few enough records to be used.
const QStringList Texts{QStringLiteral("python.biopython"), QStringLiteral("a \"quoted\" word; H2O and CO2"),
    QStringLiteral("СОСТОЯНИЕ белка: protein"), QStringLiteral("Müller's (gene) data"),
    QStringLiteral("ΣΊΣΥΦΟΣ σίσυφος ς"), QStringLiteral("ǅemal ǆ Ǆ straße STRASSE"),
    QStringLiteral("Gene expression in KELVIN cells."), QStringLiteral("kelvin stop genes"),
    QStringLiteral("\u212Aelvin scale, \u017Ftop"),
    // Letters SQLite's tables fold otherwise than the search: Cyrillic rounded ve and
    // long-legged de, Georgian capitals, Cherokee small letters.
    QStringLiteral("\u1C80\u1C81\u1C80 \u1C90\u1C91\u1C92 \uAB70\uAB71\uAB72"), QStringLiteral("rare-word xylophone")};

// Words a user might type: parts of the texts in any case, short ones, wildcards.
QString randomWords(QRandomGenerator& random)
{
    static const QStringList fixed{QStringLiteral("kelvin"), QStringLiteral("KELVIN"), QStringLiteral("stop"),
        QStringLiteral("STOP"), QStringLiteral("gene"), QStringLiteral("ge"), QStringLiteral("gen*"),
        QStringLiteral("g?ne"), QStringLiteral("müller"), QStringLiteral("состояние"), QStringLiteral("strasse"),
        QStringLiteral("xylophone"), QStringLiteral("\"quoted\""), QStringLiteral("h2o"), QStringLiteral("s sc"),
        QStringLiteral("[pb]ython"), QStringLiteral("nothing here"), QStringLiteral("#"),
        QStringLiteral("\u0432\u0434\u0432"), QStringLiteral("\u10D0\u10D1\u10D2"), QStringLiteral("\u13A0\u13A1\u13A2")};
    if (random.bounded(2) == 0)
        return fixed[random.bounded(fixed.size())];
    const QString& text = Texts[random.bounded(Texts.size())];
    const int start = random.bounded(text.size() - 1);
    QString words = text.mid(start, 1 + random.bounded(8)).trimmed();
    if (random.bounded(2) == 0)
        words = words.toUpper();
    return words.isEmpty() ? QStringLiteral("gene") : words;
}

QString text(QRandomGenerator& random)
{
    const int pick
        = std::min({random.bounded(Texts.size()), random.bounded(Texts.size()), random.bounded(Texts.size())});
    return Texts[pick] + QLatin1Char(' ') + QString::number(random.bounded(1000));
}

QByteArray quoted(const QString& value)
{
    return "'" + QString(value).replace(QLatin1Char('\''), QStringLiteral("''")).toUtf8() + "'";
}

using Upkeep = SearchIndexUpkeep::State;

Upkeep finished(const SearchIndexUpkeep& upkeep)
{
    const QDeadlineTimer deadline(60000);
    while (upkeep.state() == Upkeep::Working && !deadline.hasExpired())
        QThread::msleep(5);
    return upkeep.state();
}

struct Found {
    std::vector<std::int64_t> keys;
    bool usedIndex = false;
};

Found searchKeys(Database& db, const QString& statement, const std::optional<QString>& prefilter)
{
    const auto scan
        = SplitScan::start(db, QStringLiteral("Abstracts"), statement.mid(statement.indexOf(" Where ")), 2, prefilter);
    if (!scan)
        return {};
    Found found;
    found.keys = scan->keys().value_or(std::vector<std::int64_t>{});
    found.usedIndex = scan->usedIndex();
    return found;
}

} // namespace

class TrigramSearchTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestProgramFolder> m_folder;

    QString filledBibliography(const QString& name)
    {
        const QString path = m_folder->makeBibliography(name);
        OtherConnection other(path);
        QRandomGenerator random(7);
        other.run("BEGIN");
        for (int i = 0; i < 8000; ++i) {
            const QByteArray sql = "INSERT INTO Abstracts (Title, Keywords, Abstract, Authors, TitelS) VALUES ("
                + quoted(text(random)) + ", " + (i % 5 == 0 ? QByteArray("NULL") : quoted(text(random))) + ", "
                + quoted(text(random) + QLatin1Char(' ') + text(random)) + ", " + quoted(text(random)) + ", "
                + quoted(QString::number(random.bounded(50))) + ")";
            other.run(sql.constData());
        }
        other.run("COMMIT");
        return path;
    }

    // Every search, with the index asked and without it, finds the same keys.
    void compareSearches(Database& db, QRandomGenerator& random, int searches, int& indexed)
    {
        for (int s = 0; s < searches; ++s) {
            CriteriaRows rows;
            rows[0].words = randomWords(random);
            if (random.bounded(3) == 0) {
                rows[0].op = random.bounded(4) == 0 ? QStringLiteral("Or") : QStringLiteral("And");
                rows[1].words = randomWords(random);
            }
            SearchOptions options;
            options.wholeWordOnly = random.bounded(2) == 0;
            if (random.bounded(4) == 0) {
                options.sortChoice = QStringLiteral("Title");
                options.sortColumn = QStringLiteral("TitelS");
            }
            if (random.bounded(6) == 0)
                options.searchedColumns[1] = true; // Authors: not in the index
            const QString statement = ComposeQuery(rows, options);
            const std::vector<std::int64_t> plain = RecordSet(db, statement).rowKeys();
            const Found found = searchKeys(db, statement, TrigramPrefilter(rows, options));
            QVERIFY2(found.keys == plain,
                qPrintable(statement + QStringLiteral(": %1 against %2").arg(found.keys.size()).arg(plain.size())));
            indexed += found.usedIndex ? 1 : 0;
        }
    }

private slots:
    void initTestCase() { m_folder = std::make_unique<TestProgramFolder>(); }

    void whatTheIndexCanHelp_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<bool>("authors");
        QTest::addColumn<QString>("match");
        QTest::newRow("one word") << QStringList{"gene"} << false << R"("ene" AND "gen")";
        QTest::newRow("two rows, a quote")
            << QStringList{"ab\"c", "And", "abc"} << false << R"("ab""" AND "abc" AND "b""c")";
        QTest::newRow("short") << QStringList{"ge"} << false << QString();
        QTest::newRow("wildcard") << QStringList{"gen*"} << false << QString();
        QTest::newRow("class") << QStringList{"[pb]ython"} << false << QString();
        QTest::newRow("digit") << QStringList{"h#o2"} << false << QString();
        QTest::newRow("beyond ascii, in each case form")
            << QStringList{u"müller"_s} << false << uR"("ler" AND "lle" AND ("mÜl" OR "mül") AND ("Üll" OR "üll"))"_s;
        QTest::newRow("kelvin sign") << QStringList{u"\u212Aa b"_s} << false << u"\"a b\" AND (\"ka \" OR \"\u212Aa \")"_s;
        QTest::newRow("control character") << QStringList{u"ab\tc"_s} << false << QString();
        QTest::newRow("or") << QStringList{"gene", "Or", "python"} << false << QString();
        QTest::newRow("not") << QStringList{"gene", "Not", "python"} << false << QString();
        QTest::newRow("a column not indexed") << QStringList{"gene"} << true << QString();
    }
    void whatTheIndexCanHelp()
    {
        QFETCH(QStringList, rows);
        QFETCH(bool, authors);
        QFETCH(QString, match);
        CriteriaRows criteria;
        criteria[0].words = rows[0];
        if (rows.size() > 1) {
            criteria[0].op = rows[1];
            criteria[1].words = rows[2];
        }
        SearchOptions options;
        options.searchedColumns[1] = authors;
        QCOMPARE(TrigramPrefilter(criteria, options).value_or(QString()), match);
    }

    // Random searches while another program inserts, changes and deletes records: before
    // the index exists, while it is built and behind, and up to date.
    void indexNeverChangesAResult()
    {
        const QString path = filledBibliography(QStringLiteral("random.pyr"));
        Database db(path);
        QRandomGenerator random(19);
        int indexed = 0;
        compareSearches(db, random, 20, indexed);
        QCOMPARE(indexed, 0); // a file from before the index

        TrigramIndexBuild build(db);
        QVERIFY(build.step(TickBudget()).ongoing());
        OtherConnection other(path);
        for (int round = 0; round < 12; ++round) {
            // Half way through building, then up to date, then behind again.
            if (round % 3 == 2)
                QCOMPARE(runToEnd(build), StepOutcome::done());
            else
                build.step(TickBudget());
            const int key = 1 + random.bounded(8000);
            const QByteArray value = quoted(text(random));
            const QByteArray edits[] = {
                "INSERT INTO Abstracts (Title, Abstract) VALUES (" + value + ", 'new xylophone')",
                "UPDATE Abstracts SET Abstract = " + value + " WHERE rowid = " + QByteArray::number(key),
                "UPDATE Abstracts SET Title = 'kelvin stop xylophone' WHERE rowid = " + QByteArray::number(key),
                "DELETE FROM Abstracts WHERE rowid = " + QByteArray::number(key),
                "INSERT OR REPLACE INTO Abstracts (rowid, Title) VALUES (" + QByteArray::number(key) + ", " + value
                    + ")",
            };
            for (int e = 0; e < 3; ++e)
                other.run(edits[random.bounded(5)].constData());
            compareSearches(db, random, 15, indexed);
        }
        QVERIFY(indexed > 20);
        // The triggers noted what the index missed; the last build step took it in.
        QCOMPARE(runToEnd(build), StepOutcome::done());
        QCOMPARE(readLines(path, "SELECT count(*) FROM TrigramBehind"), QStringList{"0"});
        other.run("INSERT INTO Abstracts (Title) VALUES ('appended')");
        QCOMPARE(readLines(path, "SELECT count(*) FROM TrigramBehind"), QStringList{"0"});
        other.run("UPDATE Abstracts SET Keywords = 'xylophone' WHERE rowid = (SELECT min(rowid) FROM Abstracts)");
        other.run("UPDATE Abstracts SET Category = 'Reviews' WHERE rowid = (SELECT max(rowid) FROM Abstracts)");
        QCOMPARE(readLines(path, "SELECT Row FROM TrigramBehind"), readLines(path, "SELECT min(rowid) FROM Abstracts"));
    }

    // The panel's upkeep on its own thread: a small file keeps no index, a large one gets
    // it, stopping half way leaves an index the searches can trust, edits by another
    // program are taken in, and a file locked by another program is reported, not refused.
    void upkeepKeepsTheIndexInTheBackground()
    {
        const QString path = filledBibliography(QStringLiteral("upkeep.pyr"));
        const auto mark = [&] { return readLines(path, "SELECT Covered FROM TrigramMark"); };
        const QStringList highest = readLines(path, "SELECT max(rowid) FROM Abstracts");
        QCOMPARE(finished(SearchIndexUpkeep(path, 8001)), Upkeep::NotIndexed);
        QCOMPARE(readLines(path, "SELECT count(*) FROM sqlite_master WHERE name LIKE 'Trigram%'"), QStringList{"0"});

        {
            SearchIndexUpkeep upkeep(path, 8000);
            const QDeadlineTimer deadline(60000);
            while (upkeep.permille() == 0 && upkeep.state() == Upkeep::Working && !deadline.hasExpired())
                QThread::msleep(1);
            upkeep.stop();
            QVERIFY(upkeep.state() == Upkeep::Stopped || upkeep.state() == Upkeep::UpToDate);
        }
        QVERIFY(mark().value(0).toLongLong() <= highest.value(0).toLongLong());
        QRandomGenerator random(23);
        int indexed = 0;
        Database db(path);
        compareSearches(db, random, 10, indexed);

        QCOMPARE(finished(SearchIndexUpkeep(path, 8000)), Upkeep::UpToDate);
        QCOMPARE(mark(), highest);
        OtherConnection(path, "UPDATE Abstracts SET Title = 'kelvin xylophone' WHERE rowid % 97 = 0");
        QCOMPARE(readLines(path, "SELECT count(*) FROM TrigramBehind"), QStringList{"82"});
        // A file with an index is kept up to date however few records it has.
        QCOMPARE(finished(SearchIndexUpkeep(path, 1000000)), Upkeep::UpToDate);
        QCOMPARE(readLines(path, "SELECT count(*) FROM TrigramBehind"), QStringList{"0"});
        compareSearches(db, random, 30, indexed);
        QVERIFY(indexed > 0);

        OtherConnection writer(path, "BEGIN IMMEDIATE");
        writer.run("UPDATE Abstracts SET Title = 'held' WHERE rowid = 1");
        const SearchIndexUpkeep locked(path, 8000);
        QCOMPARE(finished(locked), Upkeep::Failed);
        QCOMPARE(locked.failure(), QStringLiteral("database is locked"));
    }

    // A damaged index, one whose module the engine does not know and one missing a
    // trigger are passed by: the search reads every record and finds the same.
    void damagedIndexIsPassedBy_data()
    {
        QTest::addColumn<QByteArray>("damage");
        QTest::newRow("garbled") << QByteArray("UPDATE Trigrams_data SET block = randomblob(40) WHERE id > 1");
        QTest::newRow("shadow table dropped") << QByteArray("DROP TABLE Trigrams_data");
        QTest::newRow("no such module") << QByteArray(
            "PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = replace(sql, 'fts5(', "
            "'nofts(') WHERE name = 'Trigrams'");
        QTest::newRow("trigger dropped") << QByteArray("DROP TRIGGER TrigramBehindUpdate");
        QTest::newRow("mark dropped") << QByteArray("DROP TABLE TrigramMark");
    }
    void damagedIndexIsPassedBy()
    {
        QFETCH(QByteArray, damage);
        const QString path = filledBibliography(QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".pyr"));
        CriteriaRows rows;
        rows[0].words = QStringLiteral("scale");
        const QString statement = ComposeQuery(rows, SearchOptions{});
        const auto prefilter = TrigramPrefilter(rows, SearchOptions{});
        std::vector<std::int64_t> plain;
        {
            Database db(path);
            plain = RecordSet(db, statement).rowKeys();
            QVERIFY(plain.size() > 100);
            QCOMPARE(runToEnd(*std::make_unique<TrigramIndexBuild>(db)), StepOutcome::done());
            const Found sound = searchKeys(db, statement, prefilter);
            QVERIFY(sound.usedIndex);
            QCOMPARE(sound.keys, plain);
        }
        OtherConnection(path, damage.constData());
        Database db(path);
        const Found found = searchKeys(db, statement, prefilter);
        QVERIFY(!found.usedIndex);
        QCOMPARE(found.keys, plain);
    }
};

QTEST_GUILESS_MAIN(TrigramSearchTest)
#include "tst_TrigramSearch.moc"
