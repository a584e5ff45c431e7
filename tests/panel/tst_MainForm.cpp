// The control panel driven through its real widgets: refusals, create and open, the
// status line, pointer and keyboard, the banner's animation, and help opening beside it.

#include "core/TrigramIndex.h"
#include "help/Help1.h"
#include "panel/Artwork.h"
#include "panel/MainForm.h"
#include "panel/PicsForm.h"
#include "support/ScreenFixture.h"
#include "support/TestScreen.h"

#include <QLabel>
#include <QScreen>
#include <QtTest>

#include <chrono>
#include <memory>

using namespace papyrant;
using namespace papyrant::test;
using namespace Qt::StringLiterals;

class TestMainForm : public QObject {
    Q_OBJECT

    std::unique_ptr<ScreenFixture> m_fixture;
    MainForm* m_panel = nullptr;
    TestProgramFolder* m_folder = nullptr;
    ScriptedPrompts* m_prompts = nullptr;

    QString status() const { return m_panel->findChild<QLabel*>(u"Label1"_s)->text(); }
    QLabel* picture(const QString& name) const { return m_panel->findChild<QLabel*>(name); }
    QTimer* timer(const QString& name) const { return m_panel->findChild<QTimer*>(name); }
    PanelButton hovered() const { return m_panel->hover().HoverState(); }
    QImage shown(const QString& name) const { return picture(name)->pixmap().toImage(); }
    QImage art(const QString& leaf, QSize size = {100, 100}) const
    {
        return renderArt(leaf, size, m_panel->devicePixelRatioF()).toImage();
    }
    void hover(const QString& name, QPoint at = {10, 10})
    {
        QMouseEvent move(QEvent::MouseMove, at, picture(name)->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
        QApplication::sendEvent(picture(name), &move);
    }
    void click(const QString& name) { QTest::mouseClick(picture(name), Qt::LeftButton, {}, QPoint(20, 20)); }
    void open(const QString& path)
    {
        m_prompts->answerFile(path);
        click(role::OpenButton);
    }
    // Replaces the file with words that are no database.
    static void spoil(const QString& path) { writeFileBytes(path, "not a database, just some words\n"); }
    void openPanel()
    {
        m_panel = &m_fixture->openPanel();
        // The tests move the animation on by animationTick(), one step at a time.
        QCOMPARE(timer("Timer1")->interval(), 250);
        timer("Timer1")->setInterval(std::chrono::hours(1));
    }
    // Timer1's steps, each taken only while the timer runs, as the real one would.
    void tick(int steps = 1)
    {
        for (int i = 0; i < steps; ++i) {
            QVERIFY(timer("Timer1")->isActive());
            m_panel->animationTick();
        }
    }
    // Whether the focus ring is drawn: the faces leave the button's top row empty.
    bool ringed(const QString& name) const
    {
        QImage image(picture(name)->size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        picture(name)->render(&image, {}, {}, QWidget::DrawChildren);
        return image.pixelColor(image.width() / 2, 0).alpha() > 0;
    }
    void key(int key) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key)); }

private slots:
    void init()
    {
        m_fixture = std::make_unique<ScreenFixture>();
        m_folder = &m_fixture->folder();
        m_prompts = &m_fixture->prompts();
        registerTestScreens();
        openPanel();
    }

    void cleanup()
    {
        m_fixture.reset();
        unregisterTestScreens();
    }

    void startsWithCaptionStatusAndTimers()
    {
        QCOMPARE(m_panel->windowTitle(), u"Papyrant, Control panel"_s);
        QCOMPARE(status(), u"Please open or cerate bibliography first"_s);
        QCOMPARE(programState().LabelsPath, QDir::cleanPath(m_folder->path()) + u"/VarEdoAbb"_s);
        QVERIFY(!timer("Timer1")->isActive());
        QVERIFY(!m_panel->hover().ImagesLoaded());
        QTRY_VERIFY(m_panel->imageHolder() != nullptr);
        QVERIFY(m_panel->hover().ImagesLoaded());
        QVERIFY(!timer("Timer2")->isActive());
        // The banner's title is text, whose first rendering in a process may differ by a
        // shade; the banner is therefore checked by what the panel put there.
        QCOMPARE(m_panel->bannerFrame(), -1);
        QVERIFY(!picture("Picture10")->pixmap().isNull());
    }

    void workingScreensRefuseWithoutBibliographyOrScreen()
    {
        const auto refuses = [this](const QString& name, const QString& text) {
            hover(name);
            QVERIFY(hovered() != PanelButton::None);
            m_prompts->clear();
            click(name);
            QCOMPARE(m_prompts->described(), QStringList{"Papyrant|" + text + "|Ok/None/Ok"});
            QCOMPARE(hovered(), PanelButton::None);
            QVERIFY(m_panel->isVisible());
        };
        for (const QString& name :
            {role::AutoExtractButton, role::AddManuallyButton, role::SearchButton, role::MaintenanceButton})
            refuses(name, u"There is no bibliography opened.\nPlease open bibliography first."_s);
        // With a bibliography open, a screen this build lacks is named as missing.
        m_fixture->openBibliography(u"some.pyr"_s);
        screens().unregisterScreen(ScreenKind::Maintenance);
        refuses(role::MaintenanceButton, u"This screen is not available in this version of Papyrant yet."_s);
        QCOMPARE(TestScreen::created, 0);
    }

    void statusLineAfterCreateAndOpen()
    {
        hover(role::NewButton);
        m_prompts->answerFile(m_folder->filePath(u"bibliography1.pyr"_s));
        click(role::NewButton);
        QCOMPARE(status(), u"bibliography name is: bibliography1, contains no records"_s);
        QCOMPARE(hovered(), PanelButton::None);

        hover(role::OpenButton);
        open(m_folder->makeBibliography(u"reading.pyr"_s, {{{u"Title"_s, u"One"_s}}, {{u"Title"_s, u"Two"_s}}}));
        const QString line = u"bibliography name is: reading, contains 2 records"_s;
        QCOMPARE(status(), line);
        QCOMPARE(hovered(), PanelButton::None);

        // A failed open leaves the bibliography open before open, and the line says so.
        m_prompts->clear();
        spoil(m_folder->filePath(u"junk.pyr"_s));
        open(m_folder->filePath(u"junk.pyr"_s));
        QCOMPARE(m_prompts->described(),
            (QStringList{u"Open Papyrant File|Papyrant File (*.pyr)|*.pyr|open:"_s,
                u"Papyrant|Can't open this file\nfile is not a database|Ok/None/Ok"_s}));
        QCOMPARE(status(), line);
        QCOMPARE(m_panel->bibliography().BibName(), u"reading"_s);
        // When the file that fails is the open one, nothing is open any more, and the
        // screens and the line agree.
        m_prompts->clear();
        spoil(m_folder->filePath(u"reading.pyr"_s));
        open(m_folder->filePath(u"reading.pyr"_s));
        QCOMPARE(m_prompts->messages(), QStringList{u"Can't open this file\nfile is not a database"_s});
        QCOMPARE(status(), u"Please open or cerate bibliography first"_s);
        QVERIFY(!m_panel->bibliography().isOpen());
    }

    void countOnOpeningAndAReadFailureSaysSo()
    {
        const QString path = m_folder->makeBibliography(u"grow.pyr"_s, {{{u"Title"_s, u"One"_s}}});
        open(path);
        TestScreen(ScreenKind::ManualAdding, m_panel->bibliography()).addRecord();
        m_panel->refreshRecordCount();
        const QString line = u"bibliography name is: grow, contains 2 records"_s;
        QCOMPARE(status(), line);
        // Broken while a screen had it: reported, and the line claims no count.
        spoil(path);
        m_panel->refreshRecordCount();
        QCOMPARE(m_prompts->messages(),
            QStringList{u"Can't read the record count of this bibliography\nfile is not a database"_s});
        QCOMPARE(status(), u"bibliography name is: grow, its records can't be counted"_s);
    }

    void createPlaysOnceThenAnotherButtonRestoresIt()
    {
        hover(role::NewButton);
        QCOMPARE(hovered(), PanelButton::Create);
        QCOMPARE(shown(role::NewButton), art(u"create-hot"_s));
        QCOMPARE(picture(role::NewButton)->cursor().shape(), Qt::BitmapCursor);
        QVERIFY(m_panel->imageHolder());
        const PicsForm& holder = *m_panel->imageHolder();
        tick(4);
        QVERIFY(!timer("Timer1")->isActive());
        QCOMPARE(m_panel->bannerFrame(), 2);
        QCOMPARE(shown("Picture10"), holder.frames(3)[2].toImage());

        hover(role::SearchButton);
        QCOMPARE(shown(role::NewButton), art(u"create"_s));
        QCOMPARE(shown(role::SearchButton), art(u"search-hot"_s));
        hover("Picture22");
        QCOMPARE(hovered(), PanelButton::None);
        QCOMPARE(shown(role::SearchButton), art(u"search"_s));

        // The holder has every frame the animations play, and opening starts from the create still.
        for (int number = 1; number <= 6; ++number) {
            const FrameSet set = *frameSetOf(PanelButton(number));
            QCOMPARE(int(holder.frames(set.holderArray).size()), set.lastFrame + 1);
            for (const QPixmap& frame : holder.frames(set.holderArray))
                QVERIFY(!frame.isNull());
        }
        QCOMPARE(holder.frames(6)[0].toImage(), holder.frames(3)[0].toImage());
    }

    void tabWalksTheButtonsAndEnterOrSpacePresses()
    {
        m_panel->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_panel));
        // The focus a window hands out on opening lights nothing and draws no ring.
        QVERIFY(QApplication::focusWidget() && !ringed(QApplication::focusWidget()->objectName()));
        QCOMPARE(hovered(), PanelButton::None);
        picture(role::ExitButton)->setFocus();
        QString previous = role::ExitButton;
        for (const QString& name : {role::NewButton, role::OpenButton, role::AutoExtractButton, role::AddManuallyButton,
                 role::SearchButton, role::MaintenanceButton, role::HelpButton, role::ExitButton}) {
            const QImage resting = shown(name);
            key(Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), name);
            QVERIFY(ringed(name));
            QVERIFY(!ringed(previous));
            // Lit as under the pointer.
            QVERIFY(hovered() != PanelButton::None);
            QVERIFY(shown(name) != resting);
            previous = name;
        }
        key(Qt::Key_Backtab);
        QCOMPARE(hovered(), PanelButton::Help);

        picture(role::AutoExtractButton)->setFocus();
        for (int pressing : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_A})
            key(pressing);
        QKeyEvent held(QEvent::KeyPress, Qt::Key_Space, {}, u" "_s, true);
        QApplication::sendEvent(picture(role::AutoExtractButton), &held);
        QCOMPARE(m_prompts->messages(),
            QStringList(3, u"There is no bibliography opened.\nPlease open bibliography first."_s));
    }

    void helpBlinksExitSwapsTheBannerHelpOpensExitEnds()
    {
        QLabel* first = picture("Picture21_0");
        QLabel* second = picture("Picture21_1");
        hover(role::HelpButton);
        QVERIFY(first->isHidden() && second->isHidden());
        tick();
        QVERIFY(first->isVisible() && second->isHidden());
        tick();
        QVERIFY(first->isHidden() && second->isVisible());

        hover(role::ExitButton);
        QVERIFY(first->isHidden() && second->isHidden());
        QVERIFY(!timer("Timer1")->isActive());
        QCOMPARE(m_panel->bannerFrame(), -2);
        const QImage exitBanner = shown("Picture10");
        hover("Picture10");
        QCOMPARE(m_panel->bannerFrame(), -1);
        QVERIFY(shown("Picture10") != exitBanner);

        m_panel->move(0, 0);
        hover(role::HelpButton);
        click(role::HelpButton);
        QVERIFY(Help1::exists() && Help1::instance().isVisible());
        // Beside the panel, clear of it and wholly on the screen.
        const QRect help = Help1::instance().frameGeometry();
        QVERIFY(!help.intersects(m_panel->frameGeometry()));
        QVERIFY(m_panel->screen()->availableGeometry().contains(help));
        QCOMPARE(Help1::instance().homePage(), QDir::cleanPath(m_folder->path()) + u"/Hmain.htm"_s);
        QCOMPARE(Help1::instance().browser()->source().toLocalFile(), Help1::instance().homePage());
        QVERIFY(m_panel->isVisible());
        QCOMPARE(hovered(), PanelButton::None);

        click(role::ExitButton);
        QVERIFY(!m_panel->isVisible());
        QTRY_VERIFY(!Help1::exists());
    }

    // While the panel is in front the open bibliography's search index is brought up to
    // date on a thread of its own; a screen opened stops it first and the return starts it
    // again; a file locked by another program is told on the index line, nothing refused.
    void indexIsKeptWhileThePanelIsInFront()
    {
        const QString path
            = m_folder->makeBibliography(u"indexed.pyr"_s, {{{u"Title"_s, u"One"_s}}, {{u"Title"_s, u"Two"_s}}});
        createTrigramIndex(*std::make_unique<Database>(path));
        open(path);
        QVERIFY(m_panel->indexUpkeep());
        QTRY_COMPARE(m_panel->indexUpkeep()->state(), SearchIndexUpkeep::State::UpToDate);
        QCOMPARE(readLines(path, u"SELECT Covered FROM TrigramMark"_s), QStringList{u"2"_s});

        click(role::SearchButton);
        QVERIFY(!m_panel->indexUpkeep());
        OtherConnection(path, "UPDATE Abstracts SET Title = 'Changed' WHERE rowid = 1");
        QCOMPARE(readLines(path, u"SELECT Row FROM TrigramBehind"_s), QStringList{u"1"_s});
        OtherConnection writer(path, "BEGIN IMMEDIATE");
        writer.run("UPDATE Abstracts SET Title = 'Held' WHERE rowid = 2");
        test::click(screens().existing(ScreenKind::SearchResults), role::Back);
        QVERIFY(m_panel->indexUpkeep());
        QTRY_COMPARE(m_panel->indexUpkeep()->state(), SearchIndexUpkeep::State::Failed);
        auto* line = m_panel->findChild<QLabel*>(u"IndexLine"_s);
        QTRY_VERIFY(line->isVisible());
        QCOMPARE(line->text(),
            u"The search index could not be brought up to date, so searches read every record: database is locked"_s);

        writer.close();
        click(role::SearchButton);
        test::click(screens().existing(ScreenKind::SearchResults), role::Back);
        QTRY_COMPARE(m_panel->indexUpkeep()->state(), SearchIndexUpkeep::State::UpToDate);
        QVERIFY(!line->isVisible());
        QCOMPARE(readLines(path, u"SELECT count(*) FROM TrigramBehind"_s), QStringList{u"0"_s});
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_MainForm.moc"