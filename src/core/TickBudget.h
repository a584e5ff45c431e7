#pragma once
// Long work (extraction, auto remove, copying and deleting results) runs in timer ticks
// so the window keeps painting. A tick does as many steps as fit in its budget: about
// 15 ms, short enough that the progress bar and the pointer stay lively, long enough
// that 10,000 records take seconds rather than minutes.

#include <QElapsedTimer>

#include <chrono>

namespace papyrant {

inline constexpr std::chrono::milliseconds TickLength{15};

class TickBudget {
public:
    explicit TickBudget(std::chrono::milliseconds length = TickLength)
        : m_length(length.count())
    {
        m_clock.start();
    }
    // True once the tick has used its time, less what the stepper keeps in reserve (for
    // its commit); a stepper checks it after each step, so every tick makes progress.
    bool spent(qint64 reserveMs = 0) const { return m_clock.elapsed() >= m_length - reserveMs; }
    qint64 lengthMs() const { return m_length; }
    qint64 remainingMs() const { return m_length - m_clock.elapsed(); }

private:
    QElapsedTimer m_clock;
    qint64 m_length;
};

} // namespace papyrant
