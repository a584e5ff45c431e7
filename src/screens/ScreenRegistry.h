#pragma once
// The working screens of the program: one program-wide instance per kind, created on
// first use and destroyed when it closes, so reopening starts it afresh. The screens
// themselves register a factory for their kind; the control panel opens them by kind.
//
//   screens().registerScreen(ScreenKind::SearchResults, [] { return new ReportForm; });
//
// A screen returns to the panel through WorkingScreen (or, for a screen with its own
// base class, by calling returnFromScreen() from its close handling).

#include "core/Captions.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>

namespace papyrant {

class MainForm;

using ScreenFactory = std::function<QWidget*()>;

class ScreenRegistry {
public:
    void registerScreen(ScreenKind kind, ScreenFactory factory);
    void unregisterScreen(ScreenKind kind);
    bool isRegistered(ScreenKind kind) const;

    // The live instance of the kind, or null.
    QWidget* existing(ScreenKind kind) const;
    // The live instance as its own class, for typed hand-offs between screens
    // (extraction giving manual adding its failed records); null when not open.
    template <class Screen>
    Screen* live(ScreenKind kind) const
    {
        return qobject_cast<Screen*>(existing(kind));
    }
    // The instance of the kind, created hidden when it does not exist yet, so a caller
    // can fill it before showing it. Null when no factory is registered for the kind.
    QWidget* instance(ScreenKind kind);
    // Creates the screen if it does not exist yet (it deletes itself when closed) and
    // shows it. Null when no factory is registered for the kind.
    QWidget* show(ScreenKind kind);

    // The control panel that screens return to.
    void setControlPanel(MainForm* panel);
    MainForm* controlPanel() const;

    // Closes every screen, the help window and the control panel, and leaves the
    // event loop. Safe to reach again from the close handling it sets off.
    void endProgram();
    bool ending() const { return m_ending; }

private:
    std::map<ScreenKind, ScreenFactory> m_factories;
    std::map<ScreenKind, QPointer<QWidget>> m_instances;
    QPointer<MainForm> m_panel;
    bool m_ending = false;
};

// The program's registry.
ScreenRegistry& screens();

// The close handling every working screen shares. With ReturnToPanel at 0 (the
// window's close box) the program ends. Otherwise the flag goes back to 0, the panel
// re-reads the record count and comes back; manual adding that serves a running
// extraction (ManualFromExtract = 1) goes back to the auto-extract screen instead.
void returnFromScreen(ScreenKind kind);

// A working screen: a top-level window with a way back to the control panel.
class WorkingScreen : public QWidget {
    Q_OBJECT
public:
    explicit WorkingScreen(ScreenKind kind, QWidget* parent = nullptr);

    ScreenKind kind() const { return m_kind; }

    // "Back to control panel": marks the return and closes the screen.
    void backToControlPanel();

protected:
    void closeEvent(QCloseEvent* event) override;
    // The screen's own unload work (its dialogs, record sets), done before control
    // passes back.
    virtual void unloadScreen() { }
    // True while the screen must not be closed, not even by its close box.
    virtual bool closeRefused() const { return false; }

private:
    ScreenKind m_kind;
};

} // namespace papyrant
