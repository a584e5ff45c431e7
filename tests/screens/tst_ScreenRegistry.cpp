// Opening working screens from the panel and coming back: one instance per kind,
// destroyed on close, the count re-read on return, the close box ending the program, and
// where the windows open. And the tick driver on a bare window: busy while it runs,
// progress on the bar it is given, the screen's counters after every tick, the end heard
// with the pointer back, a failure reported as the sentence and the reason, one run at a time.

#include "panel/MainForm.h"
#include "screens/BusyState.h"
#include "screens/TickDriver.h"
#include "screens/WindowPlacement.h"
#include "support/ScreenFixture.h"
#include "support/TableRows.h"
#include "support/TestScreen.h"

#include <QLabel>
#include <QProgressBar>
#include <QtTest>

#include <memory>

using namespace papyrant;
using namespace papyrant::test;
using namespace Qt::StringLiterals;

namespace {

// Counts to its total one unit a step; fails at `failAt` when given.
class Counter final : public Stepper {
public:
    Counter(int total, int failAt = -1)
        : m_total(total)
        , m_failAt(failAt)
    {
    }
    StepOutcome step(const TickBudget&) override
    {
        if (m_done == m_failAt)
            return StepOutcome::failed(QStringLiteral("disk I/O error"));
        ++m_done;
        return m_done < m_total ? StepOutcome::more() : StepOutcome::done();
    }
    StepProgress progress() const override { return {m_done, m_total}; }

private:
    int m_total;
    int m_failAt;
    int m_done = 0;
};

} // namespace

class TestScreenRegistry : public QObject {
    Q_OBJECT

    std::unique_ptr<ScreenFixture> m_fixture;
    QPointer<MainForm> m_panel;

    QString status() const { return m_panel->findChild<QLabel*>(u"Label1"_s)->text(); }
    QString records(int count) const { return u"bibliography name is: shelf, contains %1 records"_s.arg(count); }
    // Clicks a panel button and gives the screen of that kind, if any.
    TestScreen* open(const QString& button, ScreenKind kind = ScreenKind::ControlPanel)
    {
        QTest::mouseClick(m_panel->findChild<QLabel*>(button), Qt::LeftButton, {}, QPoint(20, 20));
        return static_cast<TestScreen*>(screens().existing(kind));
    }
    static void back(TestScreen* screen) { click(screen, role::Back); }

private slots:
    void init()
    {
        m_fixture = std::make_unique<ScreenFixture>();
        registerTestScreens();
        m_panel = &m_fixture->openPanel();
        m_panel->setAttribute(Qt::WA_DeleteOnClose);
        m_fixture->prompts().answerFile(
            m_fixture->folder().makeBibliography(u"shelf.pyr"_s, {{{u"Title"_s, u"First"_s}}}));
        open(role::OpenButton);
        QCOMPARE(status(), records(1));
    }

    void cleanup()
    {
        m_fixture.reset();
        unregisterTestScreens();
    }

    void buttonOpensItsOneScreenAndHidesThePanel_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<ScreenKind>("kind");
        // Each screen's caption is asserted by that screen's own test.
        row("auto extract", role::AutoExtractButton, ScreenKind::AutoExtract);
        row("manual", role::AddManuallyButton, ScreenKind::ManualAdding);
        row("search", role::SearchButton, ScreenKind::SearchResults);
        row("maintenance", role::MaintenanceButton, ScreenKind::Maintenance);
    }
    void buttonOpensItsOneScreenAndHidesThePanel()
    {
        QFETCH(QString, button);
        QFETCH(ScreenKind, kind);
        TestScreen* screen = open(button, kind);
        QVERIFY(screen && screen->isVisible());
        QVERIFY(!m_panel->isVisible());
        QCOMPARE(screens().show(kind, m_panel->bibliography()), screen); // one instance per kind
        QCOMPARE(TestScreen::created, 1);
    }

    void backReturnsAndTheCountIsReread()
    {
        QPointer<TestScreen> screen = open(role::SearchButton, ScreenKind::SearchResults);
        screen->addRecord();
        screen->addRecord();
        back(screen);
        QCOMPARE(screen->unloads, 1);
        QVERIFY(m_panel->isVisible());
        QCOMPARE(status(), records(3));
        // Closed means destroyed: reopening starts afresh.
        QTRY_VERIFY(screen.isNull());
        QCOMPARE(screens().existing(ScreenKind::SearchResults), nullptr);
        QVERIFY(open(role::SearchButton, ScreenKind::SearchResults));
        QCOMPARE(TestScreen::created, 2);
        QCOMPARE(TestScreen::destroyed, 1);
    }

    void closingAScreenByItsCloseBoxOrThePanelEndsTheProgram_data()
    {
        QTest::addColumn<bool>("closePanel");
        row("screen's close box", false);
        row("panel", true);
    }
    void closingAScreenByItsCloseBoxOrThePanelEndsTheProgram()
    {
        QFETCH(bool, closePanel);
        QPointer<TestScreen> screen = open(role::AddManuallyButton, ScreenKind::ManualAdding);
        QVERIFY(closePanel ? m_panel->close() : screen->close());
        QCOMPARE(screen->unloads, 1);
        QVERIFY(!m_panel || !m_panel->isVisible());
        QTRY_VERIFY(m_panel.isNull());
        QTRY_VERIFY(screen.isNull());
    }

    void screensOpenCentredOverThePanelWhichComesBackInPlace()
    {
        m_panel->move(130, 70);
        const QPoint centre = m_panel->frameGeometry().center();
        TestScreen* extract = open(role::AutoExtractButton, ScreenKind::AutoExtract);
        // Centred to the pixel (QRect::center rounds each way down).
        QVERIFY((extract->frameGeometry().center() - centre).manhattanLength() <= 2);
        // Manual adding serving the extraction opens over the panel's place too; the
        // extraction waits hidden, and the way back from manual adding leads to it, with the
        // count re-read on the way, ready for when the panel comes back.
        extract->move(10, 10);
        auto* manual = static_cast<TestScreen*>(screens().show(ScreenKind::ManualAdding, m_panel->bibliography()));
        extract->hide();
        QVERIFY((manual->frameGeometry().center() - centre).manhattanLength() <= 2);
        manual->addRecord();
        manual->leave(ScreenExit::BackToExtraction);
        QVERIFY(extract->isVisible() && !m_panel->isVisible());
        QCOMPARE(extract->pos(), QPoint(10, 10));
        QCOMPARE(status(), records(2));
        back(extract);
        QCOMPARE(m_panel->pos(), QPoint(130, 70));
    }

    void centredPlacement_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("over");
        QTest::addColumn<QPoint>("topLeft");
        const QRect panel(100, 100, 400, 200); // centre (299, 199)
        row("centred", QSize(200, 100), panel, QPoint(199, 149));
        row("pushed in from the right and bottom", QSize(900, 600), panel.translated(400, 300),
            QPoint(1024 - 900, 768 - 600));
        row("pushed in from the left and top", QSize(600, 400), QRect(-50, -40, 100, 80), QPoint(0, 0));
        row("larger than the screen keeps its corner on it", QSize(1200, 900), panel, QPoint(0, 0));
    }
    void centredPlacement()
    {
        QFETCH(QSize, size);
        QFETCH(QRect, over);
        QFETCH(QPoint, topLeft);
        QCOMPARE(papyrant::centredPlacement(size, over, QRect(0, 0, 1024, 768)), topLeft);
    }

    void runsBusyWithProgressAndReportsAFailure_data()
    {
        QTest::addColumn<int>("failAt");
        QTest::addColumn<QStringList>("messages");
        row("done", -1, QStringList{});
        row("failed", 2, QStringList{"Copy stopped\ndisk I/O error"});
    }
    void runsBusyWithProgressAndReportsAFailure()
    {
        QFETCH(int, failAt);
        QFETCH(QStringList, messages);
        ScriptedPrompts prompts;
        QWidget screen;
        QProgressBar bar(&screen);
        BusyState busy(&screen);
        TickDriver driver(busy);
        Counter counter(4, failAt);
        QList<int> ticks;
        std::optional<StepOutcome> ended;
        QVERIFY(driver.start(counter,
            {&bar, QStringLiteral("Copy stopped"), [&] { ticks << bar.value(); },
                [&](const StepOutcome& outcome) {
                    QVERIFY(!QApplication::overrideCursor());
                    ended = outcome;
                }}));
        QVERIFY(driver.running() && busy.active() && !screen.isEnabled());
        QCOMPARE(bar.maximum(), 4);
        QVERIFY(!driver.start(counter, {})); // one run at a time
        QTRY_VERIFY(ended.has_value());
        QVERIFY(!driver.running() && !busy.active());
        QCOMPARE(ticks, failAt < 0 ? (QList<int>{1, 2, 3, 4}) : (QList<int>{1, 2, 2}));
        QCOMPARE(ended->kind, failAt < 0 ? StepOutcome::Kind::Done : StepOutcome::Kind::Failed);
        QCOMPARE(prompts.messages(), messages);
        QTRY_VERIFY(screen.isEnabled());
    }
};

QTEST_MAIN(TestScreenRegistry)
#include "tst_ScreenRegistry.moc"