// The hover and animation rules alone, through a view that records what it is asked.

#include "panel/HoverMachine.h"

#include <QStringList>
#include <QtTest>

#include <optional>
#include <utility>

using namespace papyrant;
using namespace Qt::StringLiterals;

namespace {

class RecordingView : public HoverView {
public:
    QStringList calls;
    bool timerOn = false;

    void setAnimationTimerEnabled(bool enabled) override
    {
        timerOn = enabled;
        calls << (enabled ? "timer on" : "timer off");
    }
    void showRestingImages() override { calls << "resting"; }
    void setHandPointer(PanelButton b) override { calls << u"hand %1"_s.arg(int(b)); }
    void showHighlighted(PanelButton b) override { calls << u"highlight %1"_s.arg(int(b)); }
    void loadImageHolder() override { calls << "load holder"; }
    void copyFrames(int array, int last) override { calls << u"copy %1 0..%2"_s.arg(array).arg(last); }
    void showFrame(int index) override { calls << u"frame %1"_s.arg(index); }
    void showExitBanner() override { calls << "exit banner"; }
    void toggleBlink() override { calls << "blink"; }
};

} // namespace

class TestHoverMachine : public QObject {
    Q_OBJECT

    RecordingView m_view;
    std::optional<HoverMachine> m_machine;

    // What the view was asked since the last look.
    QStringList asked() { return std::exchange(m_view.calls, {}); }

private slots:
    void init()
    {
        m_view.calls.clear();
        m_view.timerOn = false;
        m_machine.emplace(m_view);
    }

    void startsIdleAndLoadsTheHolderOnce()
    {
        m_machine->restoreResting();
        m_machine->pointerOver(PanelButton::None);
        QCOMPARE(asked(), QStringList());
        QCOMPARE(m_machine->HoverState(), PanelButton::None);
        m_machine->loadImagesOnce();
        m_machine->loadImagesOnce();
        QCOMPARE(asked(), QStringList{"load holder"});
        QVERIFY(m_machine->ImagesLoaded());
        m_machine->pointerOver(PanelButton::Manual);
        QCOMPARE(asked(), (QStringList{"hand 4", "highlight 4", "copy 5 0..5", "timer on"}));
    }

    void framesPlayRepeatingOrOnceHoldingTheLast_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("holderArray");
        QTest::addColumn<int>("lastFrame");
        QTest::addColumn<bool>("repeating");
        QTest::newRow("create") << 1 << 3 << 2 << false;
        QTest::newRow("open") << 2 << 6 << 2 << false;
        QTest::newRow("auto extract") << 3 << 4 << 5 << true;
        QTest::newRow("manual") << 4 << 5 << 5 << true;
        QTest::newRow("maintenance") << 5 << 1 << 3 << true;
        QTest::newRow("search") << 6 << 2 << 4 << true;
    }
    void framesPlayRepeatingOrOnceHoldingTheLast()
    {
        QFETCH(int, button);
        QFETCH(int, holderArray);
        QFETCH(int, lastFrame);
        QFETCH(bool, repeating);
        m_machine->pointerOver(PanelButton(button));
        QCOMPARE(asked(),
            (QStringList{u"hand %1"_s.arg(button), u"highlight %1"_s.arg(button), "load holder",
                u"copy %1 0..%2"_s.arg(holderArray).arg(lastFrame), "timer on"}));
        QCOMPARE(m_machine->FrameIndex(), 0);

        // As the real timer: no ticks once it is stopped.
        for (int tick = 0; tick <= lastFrame + 2 && m_view.timerOn; ++tick)
            m_machine->tick();
        QStringList frames;
        for (int i = 0; i <= lastFrame; ++i)
            frames << u"frame %1"_s.arg(i);
        // Repeating comes round to frame 0; play-once stops with its last frame left in view.
        frames << (repeating ? QStringList{"frame 0", "frame 1"} : QStringList{"timer off"});
        QCOMPARE(asked(), frames);
        QCOMPARE(m_view.timerOn, repeating);
        QCOMPARE(int(m_machine->HoverState()), button);
        QCOMPARE(m_machine->FrameIndex(), repeating ? 2 : 0);
    }

    void movingWithinAButtonKeepsItsAnimationAnotherRestoresIt()
    {
        m_machine->pointerOver(PanelButton::Create);
        m_machine->tick();
        asked();
        m_machine->pointerOver(PanelButton::Create);
        QCOMPARE(asked(), QStringList());
        QCOMPARE(m_machine->FrameIndex(), 1);
        m_machine->pointerOver(PanelButton::Search);
        QCOMPARE(asked(), (QStringList{"timer off", "resting", "hand 6", "highlight 6", "copy 2 0..4", "timer on"}));
        QCOMPARE(m_machine->HoverState(), PanelButton::Search);
        m_machine->pointerOver(PanelButton::None);
        QCOMPARE(asked(), (QStringList{"timer off", "resting"}));
        QCOMPARE(m_machine->HoverState(), PanelButton::None);
    }

    void helpBlinksAndExitSwapsTheBannerWithoutTimer()
    {
        m_machine->pointerOver(PanelButton::Help);
        QCOMPARE(asked(), (QStringList{"hand 7", "highlight 7", "timer on"}));
        m_machine->tick();
        m_machine->tick();
        QCOMPARE(asked(), (QStringList{"blink", "blink"}));
        m_machine->pointerOver(PanelButton::Exit);
        QCOMPARE(asked(), (QStringList{"timer off", "resting", "hand 8", "highlight 8", "exit banner"}));
        QCOMPARE(m_machine->HoverState(), PanelButton::Exit);
        m_machine->tick();
        QCOMPARE(asked(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestHoverMachine)
#include "tst_HoverMachine.moc"