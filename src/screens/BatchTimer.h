#pragma once
// Drives a batch over the whole result (copy, delete all) from a timer: each tick runs one
// step within a TickBudget, then the event loop paints the window and moves the bar
// before the next one.

#include "core/TickBudget.h"
#include "search/ResultBatch.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace papyrant {

class BatchTimer : public QObject {
    Q_OBJECT
public:
    using Step = std::function<BatchState(const TickBudget&)>;
    using Ticked = std::function<void()>;
    using Ended = std::function<void(BatchState)>;

    explicit BatchTimer(QObject* parent = nullptr);

    // Runs step on every tick; ticked follows each tick, ended the last one (Finished or
    // Failed), after the timer has stopped.
    void start(Step step, Ticked ticked, Ended ended);
    bool running() const { return m_timer.isActive(); }

private:
    void tick();

    QTimer m_timer;
    Step m_step;
    Ticked m_ticked;
    Ended m_ended;
};

} // namespace papyrant
