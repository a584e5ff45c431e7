// Pages of results as text and marks, built from a real bibliography: record blocks,
// header, references, mark order, page list and the record under the caret.

#include "core/Database.h"
#include "core/RecordSet.h"
#include "search/Presentation.h"
#include "support/TableRows.h"
#include "support/TestFolders.h"

#include <QTest>

#include <memory>

using namespace papyrant;
using namespace Qt::StringLiterals;
using namespace papyrant::test;

namespace {
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

class PresentationTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<Database> m_db;

    // The first n records (by year) as a result set.
    std::unique_ptr<RecordSet> firstRecords(int n)
    {
        return std::make_unique<RecordSet>(*m_db,
            QStringLiteral("Select Abstracts.* From Abstracts Where Abstracts.Publishing_year <= '%1' Order by "
                           "Publishing_year")
                .arg(n, 3, 10, QLatin1Char('0')));
    }

private slots:
    void initTestCase()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        m_db = std::make_unique<Database>(m_folder->makeBibliography(QStringLiteral("numbers.pyr"), numberedRecords()));
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

QTEST_GUILESS_MAIN(PresentationTest)
#include "tst_Presentation.moc"
