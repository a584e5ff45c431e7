#pragma once
// The working screens of the program: one program-wide instance per kind, created on
// first use and destroyed when it closes, so reopening starts it afresh. Each kind has a
// factory, registered where the program is assembled (main), that builds the screen over
// the open bibliography it is handed:
//
//   screens().registerScreen(ScreenKind::SearchResults, [](Bibliography& b) { return new ReportForm(b); });
//
// The control panel opens screens by kind; when one is left (ScreenExit), its return
// handler brings the panel's count up to date before the registry shows what comes next.

#include "core/Captions.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>

namespace papyrant {

class Bibliography;

// How a working screen was left.
enum class ScreenExit {
    CloseBox, // the window's close box: the program ends
    BackToPanel, // "Back to control panel"
    BackToExtraction, // manual adding that served an extraction goes back to it
};

using ScreenFactory = std::function<QWidget*(Bibliography&)>;
// What the control panel does first whenever a screen was left.
using ReturnHandler = std::function<void(ScreenExit)>;

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
    // The instance of the kind, created hidden over the bibliography when it does not
    // exist yet, so a caller can fill it before showing it. Null when no factory is
    // registered for the kind.
    QWidget* instance(ScreenKind kind, Bibliography& bibliography);
    // The instance (created as above, deleting itself when closed), shown: the first time
    // centred over the control panel's place, later where it stood. Null when no factory
    // is registered for the kind.
    QWidget* show(ScreenKind kind, Bibliography& bibliography);

    // The control panel: the window the screens return to, and what it does first then.
    void setControlPanel(QWidget* panel, ReturnHandler onReturn);

    // A screen was left: after the panel's return handler, the close box ends the program;
    // the way back from manual adding that served an extraction shows the extraction
    // again (when it is still there), any other way back the control panel, each where it
    // stood before.
    void screenLeft(ScreenExit exit);

    // Closes every screen and the control panel, and leaves the event loop. Safe to reach
    // again from the close handling it sets off.
    void endProgram();
    bool ending() const { return m_ending; }

private:
    std::map<ScreenKind, ScreenFactory> m_factories;
    std::map<ScreenKind, QPointer<QWidget>> m_instances;
    QPointer<QWidget> m_panel;
    ReturnHandler m_onReturn;
    bool m_ending = false;
};

// The program's registry.
ScreenRegistry& screens();

} // namespace papyrant
