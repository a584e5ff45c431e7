// The help window: the page each caller opens, Back and Home, About, the resize rule
// and the failure message.

#include "help/Help1.h"
#include "help/HelpLayout.h"
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
    void press(const char* name) { QTest::mouseClick(Help1::instance().findChild<QPushButton*>(name), Qt::LeftButton); }
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
    void cleanup()
    {
        m_fixture->verifyNoUnexpectedPrompts();
        m_fixture.reset();
    }

    void eachCallerGetsItsPage_data()
    {
        QTest::addColumn<QString>("leaf");
        QTest::addColumn<QString>("heading");
        QTest::newRow("control panel") << "/Hmain.htm"
                                       << "The control panel";
        QTest::newRow("auto extract") << "/HAutoExtract.htm"
                                      << "Auto extract";
        QTest::newRow("manual adding") << "/HManual.htm"
                                       << "Adding records manually";
        QTest::newRow("search items") << "/Hsearch1S.htm"
                                      << "Search items";
        QTest::newRow("results") << "/Hsearch2R.htm"
                                 << "Results";
        QTest::newRow("edit results") << "/HSearch3E.htm"
                                      << "Edit results";
        QTest::newRow("manage results") << "/Hsearch4M.htm"
                                        << "Manage results";
        QTest::newRow("search options") << "/HsearchOp.htm"
                                        << "Search options";
        QTest::newRow("repeated records") << "/HMaintenanceR.htm"
                                          << "Remove repeated records";
        QTest::newRow("cleanup") << "/HMaintenanceC.htm"
                                 << "Cleanup";
        // A page missing from the folder: the browser says so itself, no box.
        QTest::newRow("missing") << "/Hnothing.htm"
                                 << "This page cannot be shown";
    }
    void eachCallerGetsItsPage()
    {
        QFETCH(QString, leaf);
        QFETCH(QString, heading);
        QVERIFY(showHelp(leaf));
        QCOMPARE(programState().HelpPage, folder() + leaf);
        QCOMPARE(browser()->source().toLocalFile(), folder() + leaf);
        const QTextBlock first = browser()->document()->firstBlock();
        QCOMPARE(first.text(), heading);
        // The shared stylesheet colours the headings; without it they would be black.
        if (QFile::exists(folder() + leaf))
            QCOMPARE(first.charFormat().foreground().color(), QColor(u"#1f3a5f"_s));
        QVERIFY(Help1::instance().isVisible());
        QCOMPARE(Help1::instance().windowTitle(), u"Help"_s);
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
        const AskedPrompt& about = m_fixture->prompts().asked().front();
        QCOMPARE(about.title, u"About"_s);
        QCOMPARE(about.buttons, PromptButtons::Ok);
        QCOMPARE(about.icon, PromptIcon::None);
        const QStringList lines = about.text.split(QLatin1Char('\n'));
        QVERIFY(QRegularExpression(u"^Papyrant \\d+\\.\\d+\\.\\d+$"_s).match(lines.at(0)).hasMatch());
        QVERIFY(lines.contains(u"Qt 6, under the GNU Lesser General Public License version 3 (LGPLv3)"_s));
        QVERIFY(lines.contains(u"SQLite, in the public domain"_s));
        QVERIFY(lines.contains(u"SQLiteCpp, under the MIT licence"_s));
    }

    void failureShowsTheMessage()
    {
        programState().ProgramFolder.clear();
        QVERIFY(!showHelp(u"/Hmain.htm"_s));
        QCOMPARE(m_fixture->prompts().asked().size(), std::size_t(1));
        const AskedPrompt& failure = m_fixture->prompts().asked().front();
        QCOMPARE(failure.text, u"An error occur at loading help"_s);
        QCOMPARE(failure.title, u"Papyrant"_s);
        QCOMPARE(failure.buttons, PromptButtons::Ok);
        QCOMPARE(failure.icon, PromptIcon::None);
        QVERIFY(!Help1::exists());
    }

    void layoutArithmetic_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<qreal>("dpi");
        QTest::addColumn<int>("clamped");
        QTest::addColumn<QRect>("browser");
        // 96 dpi: 15 twips to the pixel.
        QTest::newRow("96 dpi") << QSize(600, 500) << qreal(96) << -1 << QRect(8, 58, 583, 433);
        QTest::newRow("96 dpi at the minimum") << QSize(400, 167) << qreal(96) << -1 << QRect(8, 58, 383, 100);
        QTest::newRow("96 dpi too low") << QSize(400, 166) << qreal(96) << 167 << QRect();
        QTest::newRow("192 dpi") << QSize(1200, 1000) << qreal(192) << -1 << QRect(17, 117, 1167, 867);
        QTest::newRow("192 dpi too low") << QSize(1200, 300) << qreal(192) << 333 << QRect();
        QTest::newRow("144 dpi") << QSize(900, 750) << qreal(144) << -1 << QRect(13, 88, 875, 650);
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
        // Not a check: PAPYRANT_SCREENSHOTS names a folder for a picture a person can look at.
        if (const QString shots = qEnvironmentVariable("PAPYRANT_SCREENSHOTS"); !shots.isEmpty())
            window.grab().save(shots + u"/help.png"_s);
    }
};

QTEST_MAIN(TestHelp1)
#include "tst_Help1.moc"