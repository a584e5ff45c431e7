// The hover and animation rules alone, through a view that records what it is asked.

#include "panel/HoverMachine.h"

#include <QStringList>
#include <QtTest>

using namespace papyrant;

namespace {

class RecordingView : public HoverView {
public:
    QStringList calls;
    bool timerOn = false;
    std::array<bool, 2> blinkShown{false, false};

    void setTimer1Enabled(bool enabled) override
    {
        timerOn = enabled;
        calls << QStringLiteral("timer %1").arg(enabled ? QStringLiteral("on") : QStringLiteral("off"));
    }
    void showRestingImages() override
    {
        blinkShown = {false, false};
        calls << QStringLiteral("resting");
    }
    void setHandPointer(PanelButton b) override { calls << QStringLiteral("hand %1").arg(int(b)); }
    void showHighlighted(PanelButton b) override { calls << QStringLiteral("highlight %1").arg(int(b)); }
    void loadImageHolder() override { calls << QStringLiteral("load holder"); }
    void copyFrames(int array, int last) override { calls << QStringLiteral("copy %1 0..%2").arg(array).arg(last); }
    void showFrame(int index) override { calls << QStringLiteral("frame %1").arg(index); }
    void showExitBanner() override { calls << QStringLiteral("exit banner"); }
    void toggleBlink() override
    {
        const bool first = blinkShown[0];
        blinkShown = {!first, first};
        calls << QStringLiteral("blink");
    }
};

} // namespace

class TestHoverMachine : public QObject {
    Q_OBJECT
private slots:
    void restingDoesNothingWhenNothingIsHighlighted()
    {
        RecordingView view;
        HoverMachine machine(view);
        machine.restoreResting();
        QVERIFY(view.calls.isEmpty());
        QCOMPARE(machine.HoverState(), PanelButton::None);
    }

    void frameSets_data()
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
    void frameSets()
    {
        QFETCH(int, button);
        QFETCH(int, holderArray);
        QFETCH(int, lastFrame);
        QFETCH(bool, repeating);
        RecordingView view;
        HoverMachine machine(view);
        machine.pointerOver(PanelButton(button));
        const QStringList expected{QStringLiteral("hand %1").arg(button), QStringLiteral("highlight %1").arg(button),
                                   QStringLiteral("load holder"),
                                   QStringLiteral("copy %1 0..%2").arg(holderArray).arg(lastFrame),
                                   QStringLiteral("timer on")};
        QCOMPARE(view.calls, expected);
        QCOMPARE(machine.FrameIndex(), std::int16_t(0));
        QCOMPARE(int(machine.HoverState()), button);

        view.calls.clear();
        // As the real timer: no ticks once it is stopped.
        for (int tick = 0; tick <= lastFrame + 2 && view.timerOn; ++tick)
            machine.tick();
        QStringList frames;
        for (int i = 0; i <= lastFrame; ++i)
            frames << QStringLiteral("frame %1").arg(i);
        if (repeating)
            frames << QStringLiteral("frame 0") << QStringLiteral("frame 1");
        else
            frames << QStringLiteral("timer off");
        QCOMPARE(view.calls, frames);
        QCOMPARE(view.timerOn, repeating);
    }

    void playOnceHoldsTheLastFrame()
    {
        RecordingView view;
        HoverMachine machine(view);
        machine.pointerOver(PanelButton::Open);
        view.calls.clear();
        for (int tick = 0; tick < 4; ++tick)
            machine.tick();
        QCOMPARE(view.calls, (QStringList{QStringLiteral("frame 0"), QStringLiteral("frame 1"), QStringLiteral("frame 2"),
                                          QStringLiteral("timer off")}));
        // Nothing was drawn after frame 2, so the banner keeps it.
        QCOMPARE(machine.HoverState(), PanelButton::Open);
        QCOMPARE(machine.FrameIndex(), std::int16_t(0));
    }

    void movingToAnotherButtonRestoresTheFirst()
    {
        RecordingView view;
        HoverMachine machine(view);
        machine.pointerOver(PanelButton::Create);
        view.calls.clear();
        machine.pointerOver(PanelButton::Search);
        QCOMPARE(view.calls.mid(0, 4), (QStringList{QStringLiteral("timer off"), QStringLiteral("resting"),
                                                    QStringLiteral("hand 6"), QStringLiteral("highlight 6")}));
        QCOMPARE(machine.HoverState(), PanelButton::Search);
    }

    void movingWithinTheSameButtonDoesNotRestart()
    {
        RecordingView view;
        HoverMachine machine(view);
        machine.pointerOver(PanelButton::AutoExtract);
        machine.tick();
        machine.tick();
        view.calls.clear();
        machine.pointerOver(PanelButton::AutoExtract);
        QVERIFY(view.calls.isEmpty());
        QCOMPARE(machine.FrameIndex(), std::int16_t(2));
    }

    void theHolderIsLoadedOnce()
    {
        RecordingView view;
        HoverMachine machine(view);
        machine.loadImagesOnce();
        machine.pointerOver(PanelButton::Manual);
        machine.loadImagesOnce();
        QCOMPARE(view.calls.count(QStringLiteral("load holder")), 1);
        QCOMPARE(machine.ImagesLoaded(), std::int16_t(1));
    }

    void helpBlinksThePair()
    {
        RecordingView view;
        HoverMachine machine(view);
        machine.pointerOver(PanelButton::Help);
        QCOMPARE(view.calls, (QStringList{QStringLiteral("hand 7"), QStringLiteral("highlight 7"), QStringLiteral("timer on")}));
        machine.tick();
        QCOMPARE(view.blinkShown, (std::array<bool, 2>{true, false}));
        machine.tick();
        QCOMPARE(view.blinkShown, (std::array<bool, 2>{false, true}));
        machine.tick();
        QCOMPARE(view.blinkShown, (std::array<bool, 2>{true, false}));
        machine.restoreResting();
        QCOMPARE(view.blinkShown, (std::array<bool, 2>{false, false}));
        QCOMPARE(view.timerOn, false);
    }

    void exitSwapsTheBannerWithoutTimer()
    {
        RecordingView view;
        HoverMachine machine(view);
        machine.pointerOver(PanelButton::Exit);
        QCOMPARE(view.calls, (QStringList{QStringLiteral("hand 8"), QStringLiteral("highlight 8"), QStringLiteral("exit banner")}));
        QCOMPARE(machine.HoverState(), PanelButton::Exit);
        machine.tick();
        QCOMPARE(view.calls.size(), 3);
    }
};

QTEST_GUILESS_MAIN(TestHoverMachine)
#include "tst_HoverMachine.moc"
