// The control panel driven through its real widgets: refusals, create and open, the
// status line, the hover pictures and the help button.

#include "TestScreen.h"

#include "help/Help1.h"
#include "panel/Artwork.h"
#include "panel/MainForm.h"
#include "panel/PicsForm.h"
#include "panel/ScreenRegistry.h"
#include "support/ScriptedPrompts.h"
#include "support/TestFolders.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace papyrant;
using namespace papyrant::test;

namespace {

const QString DesignText = QStringLiteral("Please open or cerate bibliography first");

void moveOver(QWidget* widget, QPoint at = QPoint(10, 10))
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

QImage shown(const QLabel* label) { return label->pixmap().toImage(); }

QImage art(const QString& leaf, QSize size, const QWidget* on) { return renderArt(leaf, size, on->devicePixelRatioF()).toImage(); }

} // namespace

class TestMainForm : public QObject {
    Q_OBJECT

    std::unique_ptr<TestProgramFolder> m_folder;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<MainForm> m_panel;

    QLabel* status() const { return m_panel->findChild<QLabel*>(QStringLiteral("Label1")); }
    QLabel* picture(const char* name) const { return m_panel->findChild<QLabel*>(QString::fromLatin1(name)); }
    QTimer* timer(const char* name) const { return m_panel->findChild<QTimer*>(QString::fromLatin1(name)); }

    void clickOn(const char* name) { QTest::mouseClick(picture(name), Qt::LeftButton, {}, QPoint(20, 20)); }

    void openPanel()
    {
        m_panel = std::make_unique<MainForm>();
        m_panel->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_panel.get()));
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TestProgramFolder>();
        // The panel takes the program folder from the working directory, as at start.
        QDir::setCurrent(m_folder->path());
        m_prompts = std::make_unique<ScriptedPrompts>();
        openPanel();
    }

    void cleanup()
    {
        QVERIFY2(m_prompts->unexpected().isEmpty(), qPrintable(m_prompts->unexpected().join(QLatin1Char('\n'))));
        if (Help1::exists())
            delete &Help1::instance();
        m_panel.reset();
        m_prompts.reset();
        m_folder.reset();
    }

    void startsWithCaptionStatusAndTimers()
    {
        QCOMPARE(m_panel->windowTitle(), QStringLiteral("Papyrant, Control panel"));
        QCOMPARE(status()->text(), DesignText);
        QCOMPARE(programState().ProgramFolder, QDir::cleanPath(m_folder->path()));
        QCOMPARE(programState().LabelsPath, QDir::cleanPath(m_folder->path()) + QStringLiteral("/VarEdoAbb"));
        auto* signal = m_panel->findChild<QLineEdit*>(QStringLiteral("Text1"));
        QVERIFY(signal && signal->isHidden());
        QCOMPARE(timer("Timer1")->interval(), 250);
        QVERIFY(!timer("Timer1")->isActive());
        QCOMPARE(timer("Timer2")->interval(), 50);
        QCOMPARE(m_panel->hover().ImagesLoaded(), std::int16_t(0));
        QTRY_VERIFY(m_panel->imageHolder() != nullptr);
        QCOMPARE(m_panel->hover().ImagesLoaded(), std::int16_t(1));
        QVERIFY(!timer("Timer2")->isActive());
        QVERIFY(picture("Picture22") && picture("Picture10"));
        // The banner's title is text, whose first rendering in a process may differ by a
        // shade; the banner is therefore checked by what the panel put there.
        QCOMPARE(m_panel->bannerFrame(), -1);
        QVERIFY(!picture("Picture10")->pixmap().isNull());
    }

    void buttonsHaveTheirTooltipsAndFaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("tooltip");
        QTest::addColumn<QString>("face");
        QTest::newRow("create") << "Picture1" << "Create a new bibliography" << "create";
        QTest::newRow("open") << "Picture13" << "Open an exist bibliography" << "open";
        QTest::newRow("auto extract") << "Picture7" << "Auto extract from text file" << "extract";
        QTest::newRow("manual") << "Picture9" << "Add records manually" << "manual";
        QTest::newRow("search") << "Picture17" << "Do search in current bibliography" << "search";
        QTest::newRow("maintenance") << "Picture15" << "" << "maintain";
        QTest::newRow("help") << "Picture19" << "" << "help";
        QTest::newRow("exit") << "Picture2" << "" << "exit";
    }
    void buttonsHaveTheirTooltipsAndFaces()
    {
        QFETCH(QString, name);
        QFETCH(QString, tooltip);
        QFETCH(QString, face);
        QLabel* button = picture(name.toLatin1().constData());
        QVERIFY(button);
        QCOMPARE(button->toolTip(), tooltip);
        QVERIFY(!button->pixmap().isNull());
        QCOMPARE(shown(button), art(face, button->size(), m_panel.get()));
        moveOver(button);
        QCOMPARE(shown(button), art(face + QStringLiteral("-hot"), button->size(), m_panel.get()));
        QCOMPARE(button->cursor().shape(), Qt::BitmapCursor);
    }

    void workingScreensRefuseWithoutBibliography_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("auto extract") << "Picture7";
        QTest::newRow("manual") << "Picture9";
        QTest::newRow("search") << "Picture17";
        QTest::newRow("maintenance") << "Picture15";
    }
    void workingScreensRefuseWithoutBibliography()
    {
        QFETCH(QString, name);
        for (ScreenKind kind : {ScreenKind::AutoExtract, ScreenKind::ManualAdding, ScreenKind::SearchResults,
                                ScreenKind::Maintenance})
            screens().registerScreen(kind, [kind] { return new TestScreen(kind); });
        QLabel* button = picture(name.toLatin1().constData());
        moveOver(button);
        QVERIFY(m_panel->hover().HoverState() != PanelButton::None);
        m_prompts->answerMessage(PromptButton::Ok);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(20, 20));

        QCOMPARE(m_prompts->asked().size(), std::size_t(1));
        const AskedPrompt& asked = m_prompts->asked().front();
        QCOMPARE(asked.text, QStringLiteral("There is no bibliography opened.\nPlease open bibliography first."));
        QCOMPARE(asked.title, QStringLiteral("Papyrant"));
        QCOMPARE(asked.buttons, PromptButtons::Ok);
        QCOMPARE(asked.icon, PromptIcon::None);
        QCOMPARE(m_panel->hover().HoverState(), PanelButton::None);
        QVERIFY(m_panel->isVisible());
        QCOMPARE(TestScreen::created, 0);
        for (ScreenKind kind : {ScreenKind::AutoExtract, ScreenKind::ManualAdding, ScreenKind::SearchResults,
                                ScreenKind::Maintenance})
            screens().unregisterScreen(kind);
    }

    void aScreenNotBuiltYetSaysSo()
    {
        m_folder->openBibliography(m_folder->makeBibliography(QStringLiteral("some.pyr")));
        screens().unregisterScreen(ScreenKind::Maintenance);
        m_prompts->answerMessage(PromptButton::Ok);
        clickOn("Picture15");
        QCOMPARE(m_prompts->messages(),
                 QStringList{QStringLiteral("This screen is not available in this version of Papyrant yet.")});
        QVERIFY(m_panel->isVisible());
    }

    void createShowsTheNewBibliography()
    {
        moveOver(picture("Picture1"));
        m_prompts->answerFile(m_folder->filePath(QStringLiteral("bibliography1.pyr")));
        clickOn("Picture1");
        QCOMPARE(status()->text(), QStringLiteral("bibliography name is: bibliography1, contains no records"));
        QVERIFY(programState().bibliographyOpen());
        QCOMPARE(m_panel->hover().HoverState(), PanelButton::None);
        QCOMPARE(shown(picture("Picture1")), art(QStringLiteral("create"), QSize(100, 100), m_panel.get()));
        QCOMPARE(m_prompts->asked().front().title, QStringLiteral("Create new Papyrant File"));
    }

    void openShowsNameAndCount()
    {
        const QString path = m_folder->makeBibliography(
            QStringLiteral("reading.pyr"), {{{QStringLiteral("Title"), QStringLiteral("One")}},
                                            {{QStringLiteral("Title"), QStringLiteral("Two")}},
                                            {{QStringLiteral("Title"), QStringLiteral("Three")}}});
        moveOver(picture("Picture13"));
        m_prompts->answerFile(path);
        clickOn("Picture13");
        QCOMPARE(status()->text(), QStringLiteral("bibliography name is: reading, contains 3 records"));
        QCOMPARE(m_panel->hover().HoverState(), PanelButton::None);
    }

    void failedOpenKeepsTheStatusLine()
    {
        const QString good = m_folder->makeBibliography(QStringLiteral("good.pyr"), {{{QStringLiteral("Title"), QStringLiteral("x")}}});
        m_prompts->answerFile(good);
        clickOn("Picture13");
        const QString line = QStringLiteral("bibliography name is: good, contains 1 records");
        QCOMPARE(status()->text(), line);

        const QString junk = m_folder->filePath(QStringLiteral("junk.pyr"));
        QFile file(junk);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("this is not a database at all, just some words in a file\n");
        file.close();
        m_prompts->answerFile(junk);
        m_prompts->answerMessage(PromptButton::Ok);
        clickOn("Picture13");
        QCOMPARE(m_prompts->messages().size(), 1);
        QVERIFY(m_prompts->messages().front().startsWith(QStringLiteral("Can't open this file\n")));
        QCOMPARE(status()->text(), line);
        QVERIFY(!programState().bibliographyOpen());
    }

    void cancelledOpenChangesNothing()
    {
        m_prompts->cancelFile();
        clickOn("Picture13");
        QCOMPARE(status()->text(), DesignText);
        QVERIFY(m_prompts->messages().isEmpty());
    }

    void loadShowsTheCountWhenABibliographyIsOpen()
    {
        m_folder->openBibliography(m_folder->makeBibliography(QStringLiteral("kept.pyr"), {{{QStringLiteral("Title"), QStringLiteral("a")}}, {{QStringLiteral("Title"), QStringLiteral("b")}}}));
        openPanel();
        QCOMPARE(status()->text(), QStringLiteral("bibliography name is: kept, contains 2 records"));
    }

    void returnSignalRefreshesTheCount()
    {
        const QString path = m_folder->makeBibliography(QStringLiteral("grow.pyr"));
        m_prompts->answerFile(path);
        clickOn("Picture13");
        QCOMPARE(status()->text(), QStringLiteral("bibliography name is: grow, contains no records"));
        {
            TestScreen writer(ScreenKind::ManualAdding);
            writer.addRecord();
            writer.addRecord();
            writer.setAttribute(Qt::WA_DeleteOnClose, false);
        }
        auto* signal = m_panel->findChild<QLineEdit*>(QStringLiteral("Text1"));
        signal->setText(QStringLiteral("2"));
        QCOMPARE(status()->text(), QStringLiteral("bibliography name is: grow, contains no records"));
        QCOMPARE(signal->text(), QStringLiteral("2"));
        signal->setText(QStringLiteral("1"));
        QCOMPARE(signal->text(), QString());
        QCOMPARE(status()->text(), QStringLiteral("bibliography name is: grow, contains 2 records"));
    }

    void aBrokenBibliographyOnReturnIsReported()
    {
        const QString path = m_folder->makeBibliography(QStringLiteral("lost.pyr"));
        m_prompts->answerFile(path);
        clickOn("Picture13");
        QVERIFY(QFile::remove(path));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("garbage that is no database\n");
        file.close();
        m_prompts->answerMessage(PromptButton::Ok);
        m_panel->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("1"));
        QCOMPARE(m_prompts->messages().size(), 1);
        QVERIFY(m_prompts->messages().front().startsWith(
            QStringLiteral("Can't read the record count of this bibliography\n")));
        QCOMPARE(status()->text(), QStringLiteral("bibliography name is: lost, contains no records"));
    }

    void movingToAnotherButtonRestoresTheFirst()
    {
        QTRY_VERIFY(m_panel->imageHolder() != nullptr);
        moveOver(picture("Picture1"));
        QCOMPARE(m_panel->hover().HoverState(), PanelButton::Create);
        moveOver(picture("Picture17"));
        QCOMPARE(m_panel->hover().HoverState(), PanelButton::Search);
        QCOMPARE(shown(picture("Picture1")), art(QStringLiteral("create"), QSize(100, 100), m_panel.get()));
        QCOMPARE(shown(picture("Picture17")), art(QStringLiteral("search-hot"), QSize(100, 100), m_panel.get()));
        moveOver(picture("Picture22"));
        QCOMPARE(m_panel->hover().HoverState(), PanelButton::None);
        QCOMPARE(shown(picture("Picture17")), art(QStringLiteral("search"), QSize(100, 100), m_panel.get()));
        QVERIFY(!timer("Timer1")->isActive());
    }

    void reenteringTheSameButtonDoesNotRestart()
    {
        moveOver(picture("Picture7"));
        QTRY_COMPARE_WITH_TIMEOUT(m_panel->bannerFrame(), 1, 2000);
        const std::int16_t frame = m_panel->hover().FrameIndex();
        moveOver(picture("Picture7"), QPoint(60, 60));
        QCOMPARE(m_panel->hover().FrameIndex(), frame);
        QVERIFY(timer("Timer1")->isActive());
        // The repeating animation comes round to its first frame again.
        QTRY_COMPARE_WITH_TIMEOUT(m_panel->bannerFrame(), 5, 3000);
        QTRY_COMPARE_WITH_TIMEOUT(m_panel->bannerFrame(), 0, 1000);
    }

    void createPlaysOnceAndHoldsTheLastFrame()
    {
        moveOver(picture("Picture1"));
        QVERIFY(timer("Timer1")->isActive());
        QTRY_VERIFY_WITH_TIMEOUT(!timer("Timer1")->isActive(), 3000);
        QCOMPARE(m_panel->bannerFrame(), 2);
        QCOMPARE(shown(picture("Picture10")), m_panel->imageHolder()->frames(3)[2].toImage());
        QCOMPARE(m_panel->hover().HoverState(), PanelButton::Create);
    }

    void openStartsFromTheCreateStill()
    {
        QTRY_VERIFY(m_panel->imageHolder() != nullptr);
        QCOMPARE(m_panel->imageHolder()->frames(6)[0].toImage(), m_panel->imageHolder()->frames(3)[0].toImage());
        QCOMPARE(m_panel->imageHolder()->frames(1).size(), std::size_t(4));
        QCOMPARE(m_panel->imageHolder()->frames(2).size(), std::size_t(5));
        QCOMPARE(m_panel->imageHolder()->frames(4).size(), std::size_t(6));
        QCOMPARE(m_panel->imageHolder()->frames(5).size(), std::size_t(6));
        for (int array = 1; array <= 6; ++array) {
            for (const QPixmap& frame : m_panel->imageHolder()->frames(array))
                QVERIFY(!frame.isNull());
        }
    }

    void helpBlinksAndExitSwapsTheBanner()
    {
        QLabel* first = m_panel->findChild<QLabel*>(QStringLiteral("Picture21_0"));
        QLabel* second = m_panel->findChild<QLabel*>(QStringLiteral("Picture21_1"));
        moveOver(picture("Picture19"));
        QTRY_VERIFY_WITH_TIMEOUT(first->isVisible() != second->isVisible(), 2000);
        const bool firstWasShown = first->isVisible();
        QTRY_COMPARE_WITH_TIMEOUT(first->isVisible(), !firstWasShown, 2000);
        QCOMPARE(second->isVisible(), firstWasShown);

        moveOver(picture("Picture2"));
        QVERIFY(first->isHidden() && second->isHidden());
        QVERIFY(!timer("Timer1")->isActive());
        QCOMPARE(m_panel->bannerFrame(), -2);
        const QImage exitBanner = shown(picture("Picture10"));
        moveOver(picture("Picture10"));
        QCOMPARE(m_panel->bannerFrame(), -1);
        QVERIFY(shown(picture("Picture10")) != exitBanner);
    }

    void helpButtonOpensTheMainPage()
    {
        moveOver(picture("Picture19"));
        clickOn("Picture19");
        QVERIFY(Help1::exists());
        QCOMPARE(programState().HelpPage, QDir::cleanPath(m_folder->path()) + QStringLiteral("/Hmain.htm"));
        QCOMPARE(Help1::instance().browser()->source().toLocalFile(), programState().HelpPage);
        QVERIFY(Help1::instance().isVisible());
        QVERIFY(m_panel->isVisible());
        QCOMPARE(m_panel->hover().HoverState(), PanelButton::None);
    }

    void exitButtonEndsTheProgram()
    {
        clickOn("Picture19");
        QVERIFY(Help1::exists());
        clickOn("Picture2");
        QVERIFY(!m_panel->isVisible());
        QTRY_VERIFY(!Help1::exists());
    }

    void screenshot()
    {
        // Not a check: leaves pictures of the panel for a person to look at.
        const QString folder = qEnvironmentVariable("PAPYRANT_SCREENSHOTS");
        if (folder.isEmpty())
            QSKIP("set PAPYRANT_SCREENSHOTS to a folder to save pictures of the panel");
        QTRY_VERIFY(m_panel->imageHolder() != nullptr);
        m_panel->grab().save(folder + QStringLiteral("/panel.png"));
        for (int array = 1; array <= 6; ++array) {
            const std::vector<QPixmap>& frames = m_panel->imageHolder()->frames(array);
            for (std::size_t i = 0; i < frames.size(); ++i)
                frames[i].save(folder + QStringLiteral("/frames-%1-%2.png").arg(array).arg(i));
        }
        moveOver(picture("Picture7"));
        QTRY_COMPARE_WITH_TIMEOUT(m_panel->bannerFrame(), 3, 2000);
        m_panel->grab().save(folder + QStringLiteral("/panel-extract.png"));
        moveOver(picture("Picture2"));
        m_panel->grab().save(folder + QStringLiteral("/panel-exit.png"));
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_MainForm.moc"
