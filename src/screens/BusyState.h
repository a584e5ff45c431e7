#pragma once
// A screen at work: it takes no input and shows the hourglass until the work is done.
// Ending puts the pointer back and shows what was hidden at once, but enables the screen
// only from a one-shot timer, after the finished work has been painted, so a click made
// meanwhile cannot start a second run.
//
// The results screen enters it for a search and for each page it builds; copying and
// deleting results and saving all pages use the same object.

#include "screens/WaitCursor.h"

#include <QPointer>
#include <QWidget>

#include <optional>

namespace papyrant {

class BusyState {
public:
    explicit BusyState(QWidget* screen);

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
