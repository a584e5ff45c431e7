#pragma once
// The one driver of long work on the screens (extraction, auto remove, copy, delete all,
// "Save all"): it runs a Stepper tick after tick from a zero timer, so the window paints
// and handles its events between ticks. While it runs, the screen is busy (BusyState):
// input locked, the hourglass shown, the close box refused. After every tick the bar it
// was given shows done of total and the screen's own counters follow; at the end the
// screen hears the outcome, and a failure is reported through the prompts with the
// screen's fixed sentence and the reason.
//
//   ticks().start(*m_run, {m_bar, QStringLiteral("Data Error"), [this] { showCount(); },
//       [this](const StepOutcome& outcome) { runEnded(outcome); }});

#include "core/Stepper.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class QProgressBar;

namespace papyrant {

class BusyState;

struct TickRun {
    QProgressBar* bar = nullptr; // shows done of total after every tick; none when null
    QString failureSentence; // before a failure's reason; empty: the reason alone
    std::function<void()> ticked; // the screen's own counters, after every tick
    // After the last tick, with the pointer back and input unlocked, and before a failure
    // is reported.
    std::function<void(const StepOutcome&)> ended;
};

class TickDriver : public QObject {
    Q_OBJECT
public:
    explicit TickDriver(BusyState& busy, QObject* parent = nullptr);

    // Runs the stepper, which must live until the run has ended. False when a run is
    // under way already.
    bool start(Stepper& stepper, TickRun run);
    bool running() const { return m_stepper != nullptr; }

private:
    void tick();
    void showProgress();

    BusyState& m_busy;
    QTimer m_timer;
    Stepper* m_stepper = nullptr;
    TickRun m_run;
};

// A failure of long work as the user reads it: the sentence, a line feed and the reason
// (the reason alone without a sentence). Also for work that could not even start.
void reportWorkFailure(const QString& sentence, const QString& reason);

} // namespace papyrant
