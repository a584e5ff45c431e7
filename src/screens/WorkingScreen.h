#pragma once
// A working screen: a top-level window over the open bibliography the control panel handed
// it, left by its close box (the program ends) or by a way back to the panel.

#include "core/Captions.h"
#include "screens/ScreenRegistry.h"

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

    // Closes the screen and tells the control panel how it was left.
    void leave(ScreenExit exit);
    // "Back to control panel".
    void backToControlPanel() { leave(ScreenExit::BackToPanel); }

protected:
    void closeEvent(QCloseEvent* event) override;
    // The screen's own unload work (its dialogs, record sets), done before control
    // passes back.
    virtual void unloadScreen() { }
    // True while the screen must not be closed, not even by its close box.
    virtual bool closeRefused() const { return false; }

private:
    ScreenKind m_kind;
    Bibliography& m_bibliography;
    ScreenExit m_exit = ScreenExit::CloseBox; // how the close under way was asked for
};

} // namespace papyrant
