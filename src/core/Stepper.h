#pragma once
// The one contract of long work (extraction, auto remove, copying and deleting results,
// "Save all"): a stepper works in timer ticks, each step until its TickBudget is spent
// (always at least one unit of work), and says after each step whether it is done, wants
// more ticks, or failed and why. Work that writes shares a transaction between ticks and
// commits on its interval (BatchTransaction), not every tick. The screens run steppers
// through the screen kit's TickDriver; tests and the benchmark call step() in a loop.

#include "core/TickBudget.h"

#include <QString>

#include <utility>

namespace papyrant {

struct StepOutcome {
    enum class Kind { More, Done, Failed };
    Kind kind = Kind::More;
    QString reason; // Failed: the engine's or the system's description

    static StepOutcome more() { return {Kind::More, {}}; }
    static StepOutcome done() { return {Kind::Done, {}}; }
    static StepOutcome failed(QString reason) { return {Kind::Failed, std::move(reason)}; }
    bool ongoing() const { return kind == Kind::More; }
    bool operator==(const StepOutcome&) const = default;
};

// How far the work is: done of total, counted in the work's own unit (records, thousands
// of characters, pages); a progress bar's value and maximum.
struct StepProgress {
    int done = 0;
    int total = 0;
};

class Stepper {
public:
    virtual ~Stepper() = default;

    // One tick of work. After Done or Failed the stepper does nothing more.
    virtual StepOutcome step(const TickBudget& budget) = 0;
    virtual StepProgress progress() const = 0;
};

// Steps until the work is done or has failed, each tick with the given budget.
inline StepOutcome runToEnd(Stepper& stepper, std::chrono::milliseconds tick = TickLength)
{
    StepOutcome outcome;
    do
        outcome = stepper.step(TickBudget(tick));
    while (outcome.ongoing());
    return outcome;
}

} // namespace papyrant
