#pragma once
// A screen at work: it takes no input, shows the hourglass and refuses its close box until
// the work is done. Ending puts the pointer back and shows what was hidden at once, but
// enables the screen only from a one-shot timer, after the finished work has been painted,
// so a click made meanwhile cannot start a second run.
//
// Every working screen has one (WorkingScreen::busy()). The tick driver enters it for the
// length of a run; the results screen also enters it for a search and for each page it
// builds.

#include "screens/WaitCursor.h"

#include <QPointer>
#include <QWidget>

#include <optional>

namespace papyrant {

class BusyState {
public:
    explicit BusyState(QWidget* screen);

    // The part of the screen busy work locks: the whole screen unless the screen keeps a
    // part usable meanwhile (a progress panel, a dialog of its own).
    void setLockedArea(QWidget* area) { m_screen = area; }

    // Disables the screen and shows the hourglass; `hidden` (the results box) stays out
    // of sight until the work ends. Entering again while busy keeps the first hourglass.
    void enter(QWidget* hidden = nullptr);
    // Restores the pointer and what was hidden; the screen is enabled on the next turn of
    // the event loop, unless the screen has become busy again by then.
    void leave();
    bool active() const { return m_cursor.has_value(); }

private:
    QPointer<QWidget> m_screen;
    QPointer<QWidget> m_hidden;
    std::optional<WaitCursor> m_cursor;
    int m_run = 0; // counts entries, so a late timer of an earlier run changes nothing
};

} // namespace papyrant
