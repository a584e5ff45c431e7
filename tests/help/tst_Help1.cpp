// The help window: the page each caller opens, Back and Home, About, the resize rule
// and the failure message (tst_MainForm checks where it opens beside the panel); and where
// the window puts its browser and where the window itself goes, as arithmetic on sizes and
// rectangles.

#include "core/Twips.h"
#include "help/Help1.h"
#include "help/HelpLayout.h"
#include "help/HelpOpener.h"
#include "support/ScreenFixture.h"
#include "support/TableRows.h"

#include <QPushButton>
#include <QTextBlock>
#include <QtTest>
#include <memory>

using namespace papyrant;
using namespace papyrant::test;
using namespace Qt::StringLiterals;
using papyrant::test::row;

class TestHelp1 : public QObject {
    Q_OBJECT

    std::unique_ptr<ScreenFixture> m_fixture;

    QString folder() const { return QDir::cleanPath(m_fixture->folder().path()); }
    QTextBrowser* browser() const { return Help1::instance().browser(); }
    QString page() const { return browser()->source().fileName(); }
    void press(const char* name) { click(&Help1::instance(), name); }
    // Clicks the link whose text is `text`, as a reader would.
    void followLink(const QString& text)
    {
        QTextCursor found = browser()->document()->find(text);
        QVERIFY2(!found.isNull() && found.charFormat().isAnchor(), qPrintable(text));
        found.setPosition(found.selectionStart() + 1);
        browser()->setTextCursor(found);
        browser()->ensureCursorVisible();
        QTest::mouseClick(browser()->viewport(), Qt::LeftButton, {}, browser()->cursorRect(found).center());
    }
private slots:
    void init() { m_fixture = std::make_unique<ScreenFixture>(); }
    void cleanup() { m_fixture.reset(); }

    void everyPageOpensStyledWrapsAndAMissingOneSaysSo()
    {
        // As narrow as the window goes, every page still wraps to it: no sideways scrolling.
        QVERIFY(showHelp(u"/Hmain.htm"_s));
        Help1::instance().resize(Help1::instance().minimumWidth(), 600);
        QVERIFY(Help1::instance().width() <= 320);
        for (const QString& leaf : {u"/Hmain.htm"_s, u"/HAutoExtract.htm"_s, u"/HManual.htm"_s, u"/Hsearch1S.htm"_s,
                 u"/Hsearch2R.htm"_s, u"/HSearch3E.htm"_s, u"/Hsearch4M.htm"_s, u"/HsearchOp.htm"_s,
                 u"/HMaintenanceR.htm"_s, u"/HMaintenanceC.htm"_s}) {
            QVERIFY(showHelp(leaf));
            QCOMPARE(Help1::instance().homePage(), folder() + leaf);
            QCOMPARE(browser()->source().toLocalFile(), folder() + leaf);
            // The shared stylesheet colours the headings; a missing page or stylesheet leaves them black.
            const QTextBlock first = browser()->document()->firstBlock();
            QCOMPARE(first.charFormat().foreground().color(), QColor(u"#1f3a5f"_s));
            // The ideal width is the width the page needs once it is laid out whole.
            QVERIFY2(browser()->document()->idealWidth() <= browser()->viewport()->width(), qPrintable(leaf));
        }
        QVERIFY(Help1::instance().isVisible());
        QCOMPARE(Help1::instance().windowTitle(), u"Help"_s);
        // The browser says itself that a page is missing; no box.
        QVERIFY(showHelp(u"/Hnothing.htm"_s));
        QCOMPARE(browser()->document()->firstBlock().text(), u"This page cannot be shown"_s);
        QVERIFY(m_fixture->prompts().asked().empty());
    }

    void backHomeASecondCallerAndAbout()
    {
        QVERIFY(showHelp(u"/Hmain.htm"_s));
        press("Command1"); // Back without history stays
        QCOMPARE(page(), u"Hmain.htm"_s);
        followLink(u"Auto extract screen"_s);
        QCOMPARE(page(), u"HAutoExtract.htm"_s);
        followLink(u"Manual adding screen"_s);
        QCOMPARE(page(), u"HManual.htm"_s);
        press("Command2");
        QCOMPARE(browser()->source().toLocalFile(), folder() + u"/Hmain.htm"_s);
        press("Command1");
        QCOMPARE(page(), u"HManual.htm"_s);

        Help1* window = &Help1::instance();
        QVERIFY(showHelp(u"/Hsearch4M.htm"_s));
        QCOMPARE(&Help1::instance(), window);
        QCOMPARE(browser()->source().toLocalFile(), folder() + u"/Hsearch4M.htm"_s);
        QVERIFY(m_fixture->prompts().asked().empty());

        press("Command3");
        QCOMPARE(m_fixture->prompts().asked().size(), std::size_t(1));
        const QString about = describe(m_fixture->prompts().asked().front());
        QVERIFY(about.startsWith(u"About|"_s) && about.endsWith(u"|Ok/None/Ok"_s));
        const QStringList lines = m_fixture->prompts().asked().front().text.split(QLatin1Char('\n'));
        QVERIFY(QRegularExpression(u"^Papyrant \\d+\\.\\d+\\.\\d+$"_s).match(lines.at(0)).hasMatch());
        QVERIFY(lines.contains(u"Qt 6, under the GNU Lesser General Public License version 3 (LGPLv3)"_s));
        QVERIFY(lines.contains(u"SQLite, in the public domain"_s));
        QVERIFY(lines.contains(u"SQLiteCpp, under the MIT licence"_s));
    }

    void failureShowsTheMessage()
    {
        programState().ProgramFolder.clear();
        QVERIFY(!showHelp(u"/Hmain.htm"_s));
        QCOMPARE(
            m_fixture->prompts().described(), QStringList{u"Papyrant|An error occur at loading help|Ok/None/Ok"_s});
        QVERIFY(!Help1::exists());
    }

    void layoutArithmetic_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<qreal>("dpi");
        QTest::addColumn<int>("clamped");
        QTest::addColumn<QRect>("browser");
        // 96 dpi: 15 twips to the pixel.
        row("96 dpi", QSize(600, 500), qreal(96), -1, QRect(8, 58, 583, 433));
        row("96 dpi at the minimum", QSize(400, 167), qreal(96), -1, QRect(8, 58, 383, 100));
        row("96 dpi too low", QSize(400, 166), qreal(96), 167, QRect());
        row("192 dpi", QSize(1200, 1000), qreal(192), -1, QRect(17, 117, 1167, 867));
        row("192 dpi too low", QSize(1200, 300), qreal(192), 333, QRect());
        row("144 dpi", QSize(900, 750), qreal(144), -1, QRect(13, 88, 875, 650));
    }
    void layoutArithmetic()
    {
        QFETCH(QSize, window);
        QFETCH(qreal, dpi);
        QFETCH(int, clamped);
        QFETCH(QRect, browser);
        const HelpLayout layout = helpLayout(window, dpi, dpi);
        QCOMPARE(layout.clampedHeight.value_or(-1), clamped);
        QCOMPARE(layout.browser, browser);
    }

    void placement_data()
    {
        QTest::addColumn<QRect>("caller");
        QTest::addColumn<QSize>("window");
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("placed");
        const QRect wide(0, 0, 1920, 1080);
        const QSize help(640, 600);
        row("right", QRect(100, 100, 720, 416), help, wide, QRect(828, 100, 640, 600));
        row("right, raised", QRect(100, 700, 720, 300), help, wide, QRect(828, 480, 640, 600));
        row("left", QRect(1100, 100, 720, 416), help, wide, QRect(452, 100, 640, 600));
        row("below", QRect(300, 0, 1320, 416), help, wide, QRect(300, 424, 640, 600));
        row("right, narrower", QRect(0, 0, 1300, 1000), QSize(800, 600), wide, QRect(1308, 0, 612, 600));
        row("no room: below, pushed up", QRect(0, 0, 1900, 1000), help, wide, QRect(0, 480, 640, 600));
        row("larger than the screen", QRect(100, 100, 200, 100), QSize(2000, 1200), wide, QRect(308, 0, 1612, 1080));
        row("second screen", QRect(2000, 100, 720, 416), help, QRect(1920, 0, 1280, 1024), QRect(2728, 100, 472, 600));
    }
    void placement()
    {
        QFETCH(QRect, caller);
        QFETCH(QSize, window);
        QFETCH(QRect, screen);
        QFETCH(QRect, placed);
        QCOMPARE(helpPlacement(caller, window, QSize(320, 167), screen, 8), placed);
    }
};

QTEST_MAIN(TestHelp1)
#include "tst_Help1.moc"