#include "screens/BatchTimer.h"

namespace papyrant {

BatchTimer::BatchTimer(QObject* parent)
    : QObject(parent)
{
    // No pause between ticks: a zero timer fires once the window's pending events
    // (painting included) are handled, so the batch works whenever the window is idle.
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &BatchTimer::tick);
}

void BatchTimer::start(Step step, Ticked ticked, Ended ended)
{
    m_step = std::move(step);
    m_ticked = std::move(ticked);
    m_ended = std::move(ended);
    m_timer.start();
}

void BatchTimer::tick()
{
    const BatchState state = m_step(TickBudget());
    m_ticked();
    if (state == BatchState::Running)
        return;
    m_timer.stop();
    // The handlers may start the next batch: take them out first.
    const Ended ended = std::move(m_ended);
    m_step = nullptr;
    m_ticked = nullptr;
    ended(state);
}

} // namespace papyrant
