// The summary, tidied rows and highlight words that follow from the criteria rows alone.

#include "search/SearchItems.h"

#include <QTest>

using namespace papyrant;
using namespace Qt::StringLiterals;

namespace {

// Rows written "open|words|close|operator", the rest empty with "And".
CriteriaRows rowsFrom(const QStringList& written)
{
    CriteriaRows rows;
    for (int i = 0; i < written.size(); ++i) {
        const QStringList parts = written[i].split(QLatin1Char('|'));
        const QString op = parts.value(3);
        rows[i] = {parts[0], parts[1], op.isEmpty() ? QStringLiteral("And") : op, parts[2]};
    }
    return rows;
}

} // namespace

class SearchItemsTest : public QObject {
    Q_OBJECT
private slots:
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
};

QTEST_GUILESS_MAIN(SearchItemsTest)
#include "tst_SearchItems.moc"
