// Record model: the program folder at start, column-name form, holder rule, the clock.

#include "core/ProgramState.h"
#include "core/RecordModel.h"
#include "support/FixedClock.h"

#include <QTest>

using namespace papyrant;
using namespace Qt::StringLiterals;
using papyrant::test::FixedClock;

class RecordModelTest : public QObject {
    Q_OBJECT
private slots:
    void columnNameForm_data()
    {
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("column");
        QTest::newRow("title is the sort key") << u"Title"_s << "TitelS";
        QTest::newRow("blank to underscore") << u"Publishing year"_s << "Publishing_year";
        QTest::newRow("two blanks") << u"Publication type"_s << "Publication_type";
        QTest::newRow("none stays") << u"None"_s << "None";
        QTest::newRow("language") << u"Language"_s << "Language";
    }
    void columnNameForm()
    {
        QFETCH(QString, display);
        QFETCH(QString, column);
        QCOMPARE(papyrant::columnNameForm(display), column);
    }

    void holderRule_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("held");
        QTest::newRow("plain") << "Gene therapy" << 250 << "Gene therapy";
        QTest::newRow("line breaks and blanks both ends") << "\r\n  Gene therapy \r\n" << 250 << "Gene therapy";
        QTest::newRow("tabs stay") << "\tGene\t" << 250 << "\tGene\t";
        QTest::newRow("cut before strip") << "abc   def" << 5 << "abc";
        QTest::newRow("cut keeps leading blank strip") << "  abcdef" << 4 << "ab";
        QTest::newRow("only blanks") << " \r\n " << 250 << "";
        QTest::newRow("inner line breaks stay") << "a\r\nb" << 250 << "a\r\nb";
        QTest::newRow("300 to 250") << QString(300, QLatin1Char('x')) << 250 << QString(250, QLatin1Char('x'));
    }
    void holderRule()
    {
        QFETCH(QString, value);
        QFETCH(int, limit);
        QFETCH(QString, held);
        QCOMPARE(holdText(value, limit), held);
    }

    void todayComesFromTheClock()
    {
        {
            FixedClock fixed(QDate(2026, 3, 9));
            QCOMPARE(todayText(), QLocale::system().toString(QDate(2026, 3, 9), QLocale::ShortFormat));
        }
        QCOMPARE(currentClock().today(), QDate::currentDate());
    }
};

QTEST_GUILESS_MAIN(RecordModelTest)
#include "tst_RecordModel.moc"
