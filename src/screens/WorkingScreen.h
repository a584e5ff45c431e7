#pragma once
// A working screen: a top-level window over the open bibliography the control panel handed
// it, left by its close box (the program ends) or by a way back to the panel. It has what
// every screen's long work needs: its busy state and the tick driver that runs the work.

#include "core/Captions.h"
#include "screens/BusyState.h"
#include "screens/ScreenRegistry.h"
#include "screens/TickDriver.h"

#include <QWidget>

namespace papyrant {

class Bibliography;

class WorkingScreen : public QWidget {
    Q_OBJECT
public:
    WorkingScreen(ScreenKind kind, Bibliography& bibliography, QWidget* parent = nullptr);

    ScreenKind kind() const { return m_kind; }
    // The open bibliography: its path and name, its connection and its categories.
    Bibliography& bibliography() const { return m_bibliography; }
    // Busy with work: input locked, the hourglass, the close box refused.
    BusyState& busy() { return m_busy; }
    const BusyState& busy() const { return m_busy; }
    // Runs the screen's long work in ticks, busy meanwhile.
    TickDriver& ticks() { return m_ticks; }
    const TickDriver& ticks() const { return m_ticks; }

    // Closes the screen and tells the control panel how it was left.
    void leave(ScreenExit exit);
    // "Back to control panel".
    void backToControlPanel() { leave(ScreenExit::BackToPanel); }

protected:
    // Busy work locks only this part of the screen (see BusyState::setLockedArea).
    void setWorkArea(QWidget* area) { m_busy.setLockedArea(area); }
    // A busy screen refuses to close, even by its close box: its work ends with its report.
    void closeEvent(QCloseEvent* event) override;
    // The screen's own unload work (its dialogs, record sets), done before control
    // passes back.
    virtual void unloadScreen() { }

private:
    ScreenKind m_kind;
    Bibliography& m_bibliography;
    BusyState m_busy;
    TickDriver m_ticks;
    ScreenExit m_exit = ScreenExit::CloseBox; // how the close under way was asked for
};

} // namespace papyrant
