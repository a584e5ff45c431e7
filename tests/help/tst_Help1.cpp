// The help window: the page each caller opens, Back and Home, About, the resize rule
// and the failure message. tst_MainForm checks where it opens beside the panel.

#include "core/Twips.h"
#include "help/Help1.h"
#include "help/HelpOpener.h"
#include "support/ScreenFixture.h"

#include <QPushButton>
#include <QTextBlock>
#include <QtTest>

#include <memory>

using namespace papyrant;
using namespace papyrant::test;
using namespace Qt::StringLiterals;

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

    void windowKeepsItsMinimumHeightAndMargins()
    {
        QVERIFY(showHelp(u"/Hmain.htm"_s));
        Help1& window = Help1::instance();
        window.resize(500, 40);
        QCOMPARE(window.height(), twipsToPixels(2500, window.logicalDpiY()));
        window.resize(520, 480);
        QCOMPARE(window.height(), 480);
        QCOMPARE(browser()->width(), 520 - twipsToPixels(250, window.logicalDpiX()));
        QCOMPARE(browser()->height(), 480 - twipsToPixels(1000, window.logicalDpiY()));
    }
};

QTEST_MAIN(TestHelp1)
#include "tst_Help1.moc"