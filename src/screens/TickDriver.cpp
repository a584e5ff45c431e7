#include "screens/TickDriver.h"

#include "core/Prompts.h"
#include "screens/BusyState.h"

#include <QProgressBar>

#include <algorithm>

namespace papyrant {

TickDriver::TickDriver(BusyState& busy, QObject* parent)
    : QObject(parent)
    , m_busy(busy)
{
    // No pause between ticks: a zero timer fires once the window's pending events
    // (painting included) are handled, so the work goes on whenever the window is idle.
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &TickDriver::tick);
}

bool TickDriver::start(Stepper& stepper, TickRun run)
{
    if (running())
        return false;
    m_stepper = &stepper;
    m_run = std::move(run);
    m_busy.enter();
    showProgress();
    m_timer.start();
    return true;
}

void TickDriver::showProgress()
{
    if (!m_run.bar)
        return;
    const StepProgress progress = m_stepper->progress();
    const int total = std::max(progress.total, 1);
    m_run.bar->setRange(0, total);
    m_run.bar->setValue(std::clamp(progress.done, 0, total));
}

void TickDriver::tick()
{
    const StepOutcome outcome = m_stepper->step(TickBudget());
    showProgress();
    if (m_run.ticked)
        m_run.ticked();
    if (outcome.ongoing())
        return;
    // Everything is put back before the screen hears the end, so its closing message
    // wears no hourglass and no tick fires behind it; the screen may start the next run.
    m_timer.stop();
    m_stepper = nullptr;
    const TickRun run = std::move(m_run);
    m_run = {};
    m_busy.leave();
    if (run.ended)
        run.ended(outcome);
    if (outcome.kind == StepOutcome::Kind::Failed)
        reportWorkFailure(run.failureSentence, outcome.reason);
}

void reportWorkFailure(const QString& sentence, const QString& reason)
{
    prompts().notice(sentence.isEmpty() ? reason : sentence + QLatin1Char('\n') + reason);
}

} // namespace papyrant
