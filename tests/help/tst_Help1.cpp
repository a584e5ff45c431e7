// The help window: the page each caller opens, Back and Home, About, the resize rule
// and the failure message.

#include "help/Help1.h"
#include "help/HelpLayout.h"
#include "help/HelpOpener.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFolders.h"

#include <QDir>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>

#include <memory>

using namespace papyrant;
using namespace papyrant::test;

class TestHelp1 : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompts> m_prompts;

    QString folder() const { return QDir::cleanPath(m_folder->path()); }
    QTextBrowser* browser() const { return Help1::instance().browser(); }
    void press(const char* name)
    {
        QTest::mouseClick(Help1::instance().findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    }
    // Clicks the link whose text is `text`, as a reader would.
    void followLink(const QString& text)
    {
        QTextCursor found = browser()->document()->find(text);
        QVERIFY2(!found.isNull(), qPrintable(text));
        QVERIFY(found.charFormat().isAnchor());
        found.setPosition(found.selectionStart() + 1);
        browser()->ensureCursorVisible();
        browser()->setTextCursor(found);
        browser()->ensureCursorVisible();
        const QPoint at = browser()->cursorRect(found).center();
        QTest::mouseClick(browser()->viewport(), Qt::LeftButton, {}, at);
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        m_prompts = std::make_unique<ScriptedPrompts>();
    }
    void cleanup()
    {
        QVERIFY2(m_prompts->unexpected().isEmpty(), qPrintable(m_prompts->unexpected().join(QLatin1Char('\n'))));
        if (Help1::exists())
            delete &Help1::instance();
        m_prompts.reset();
        m_folder.reset();
    }

    void eachCallerGetsItsPage_data()
    {
        QTest::addColumn<QString>("leaf");
        QTest::addColumn<QString>("heading");
        QTest::newRow("control panel") << "/Hmain.htm" << "The control panel";
        QTest::newRow("auto extract") << "/HAutoExtract.htm" << "Auto extract";
        QTest::newRow("manual adding") << "/HManual.htm" << "Adding records manually";
        QTest::newRow("search items") << "/Hsearch1S.htm" << "Search items";
        QTest::newRow("results") << "/Hsearch2R.htm" << "Results";
        QTest::newRow("edit results") << "/HSearch3E.htm" << "Edit results";
        QTest::newRow("manage results") << "/Hsearch4M.htm" << "Manage results";
        QTest::newRow("search options") << "/HsearchOp.htm" << "Search options";
        QTest::newRow("repeated records") << "/HMaintenanceR.htm" << "Remove repeated records";
        QTest::newRow("cleanup") << "/HMaintenanceC.htm" << "Cleanup";
    }
    void eachCallerGetsItsPage()
    {
        QFETCH(QString, leaf);
        QFETCH(QString, heading);
        QVERIFY(showHelp(leaf));
        QCOMPARE(programState().HelpPage, folder() + leaf);
        QCOMPARE(browser()->source().toLocalFile(), folder() + leaf);
        QCOMPARE(browser()->document()->firstBlock().text(), heading);
        QVERIFY(Help1::instance().isVisible());
        QCOMPARE(Help1::instance().windowTitle(), QStringLiteral("Help"));
        QVERIFY(m_prompts->asked().empty());
    }

    void aSecondCallerReusesTheWindow()
    {
        QVERIFY(showHelp(QStringLiteral("/HSearch3E.htm")));
        Help1* window = &Help1::instance();
        QVERIFY(showHelp(QStringLiteral("/Hsearch4M.htm")));
        QCOMPARE(&Help1::instance(), window);
        QCOMPARE(browser()->source().toLocalFile(), folder() + QStringLiteral("/Hsearch4M.htm"));
    }

    void homeReturnsAfterFollowingALink()
    {
        QVERIFY(showHelp(QStringLiteral("/Hmain.htm")));
        followLink(QStringLiteral("Auto extract screen"));
        QCOMPARE(browser()->source().fileName(), QStringLiteral("HAutoExtract.htm"));
        followLink(QStringLiteral("Manual adding screen"));
        QCOMPARE(browser()->source().fileName(), QStringLiteral("HManual.htm"));
        press("Command2");
        QCOMPARE(browser()->source().toLocalFile(), folder() + QStringLiteral("/Hmain.htm"));
        press("Command1");
        QCOMPARE(browser()->source().fileName(), QStringLiteral("HManual.htm"));
    }

    void backWithoutHistoryDoesNothing()
    {
        QVERIFY(showHelp(QStringLiteral("/HsearchOp.htm")));
        press("Command1");
        QCOMPARE(browser()->source().fileName(), QStringLiteral("HsearchOp.htm"));
        QVERIFY(m_prompts->asked().empty());
    }

    void aboutNamesProgramAndLicences()
    {
        QVERIFY(showHelp(QStringLiteral("/Hmain.htm")));
        m_prompts->answerMessage(PromptButton::Ok);
        press("Command3");
        QCOMPARE(m_prompts->asked().size(), std::size_t(1));
        const AskedPrompt& about = m_prompts->asked().front();
        QCOMPARE(about.title, QStringLiteral("About"));
        QCOMPARE(about.buttons, PromptButtons::Ok);
        const QStringList lines = about.text.split(QLatin1Char('\n'));
        QVERIFY(QRegularExpression(QStringLiteral("^Papyrant \\d+\\.\\d+\\.\\d+$")).match(lines.at(0)).hasMatch());
        QVERIFY(lines.contains(QStringLiteral("Qt 6, under the GNU Lesser General Public License version 3 (LGPLv3)")));
        QVERIFY(lines.contains(QStringLiteral("SQLite, in the public domain")));
        QVERIFY(lines.contains(QStringLiteral("SQLiteCpp, under the MIT licence")));
    }

    void failureShowsTheMessage()
    {
        programState().ProgramFolder.clear();
        m_prompts->answerMessage(PromptButton::Ok);
        QVERIFY(!showHelp(QStringLiteral("/Hmain.htm")));
        QCOMPARE(m_prompts->asked().size(), std::size_t(1));
        const AskedPrompt& failure = m_prompts->asked().front();
        QCOMPARE(failure.text, QStringLiteral("An error occur at loading help"));
        QCOMPARE(failure.title, QStringLiteral("Papyrant"));
        QCOMPARE(failure.buttons, PromptButtons::Ok);
        QCOMPARE(failure.icon, PromptIcon::None);
        QVERIFY(!Help1::exists());
    }

    void aMissingPageShowsTheBrowsersOwnError()
    {
        QVERIFY(showHelp(QStringLiteral("/Hnothing.htm")));
        QCOMPARE(browser()->document()->firstBlock().text(), QStringLiteral("This page cannot be shown"));
        QVERIFY(m_prompts->asked().empty());
    }

    void pagesShareTheStylesheet()
    {
        QVERIFY(showHelp(QStringLiteral("/Hmain.htm")));
        // The stylesheet colours the headings; without it they would be black.
        const QTextBlock heading = browser()->document()->firstBlock();
        QCOMPARE(heading.charFormat().foreground().color(), QColor(QStringLiteral("#1f3a5f")));
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
        if (!layout.clampedHeight)
            QCOMPARE(layout.browser, browser);
    }

    void windowKeepsItsMinimumHeightAndMargins()
    {
        QVERIFY(showHelp(QStringLiteral("/Hmain.htm")));
        Help1& window = Help1::instance();
        const qreal dpiX = window.logicalDpiX();
        const qreal dpiY = window.logicalDpiY();
        window.resize(500, 40);
        QCOMPARE(window.height(), twipsToPixels(2500, dpiY));
        window.resize(520, 480);
        QCOMPARE(window.height(), 480);
        QCOMPARE(browser()->width(), 520 - twipsToPixels(250, dpiX));
        QCOMPARE(browser()->height(), 480 - twipsToPixels(1000, dpiY));
    }

    void screenshot()
    {
        // Not a check: leaves a picture of a help page for a person to look at.
        const QString shots = qEnvironmentVariable("PAPYRANT_SCREENSHOTS");
        if (shots.isEmpty())
            QSKIP("set PAPYRANT_SCREENSHOTS to a folder to save a picture of the help window");
        QVERIFY(showHelp(QStringLiteral("/HAutoExtract.htm")));
        Help1::instance().resize(720, 640);
        Help1::instance().grab().save(shots + QStringLiteral("/help.png"));
    }
};

QTEST_MAIN(TestHelp1)
#include "tst_Help1.moc"
