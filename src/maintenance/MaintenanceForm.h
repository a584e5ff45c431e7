#pragma once
// The maintenance screen: "Remove repeated records" (review of pairs and auto remove) and
// "Cleanup" (categories and entry dates) on two tabs, with help for the tab on view and
// the way back to the control panel. Its auto-remove options dialog is made hidden with
// it and edits a copy of the program's auto-remove choice, which outlives the screen.

#include "maintenance/AutoRemoveOptions.h"
#include "screens/WorkingScreen.h"

class QTabWidget;
class QToolButton;

namespace papyrant {

class CleanupTab;
class MaintOptionForm;
class RepeatedRecordsTab;

class MaintenanceForm : public WorkingScreen {
    Q_OBJECT
public:
    // autoRemove: the program's auto-remove choice, kept for as long as the program runs.
    MaintenanceForm(Bibliography& bibliography, AutoRemoveOptions& autoRemove, QWidget* parent = nullptr);

    // False while an auto-remove run goes or the options dialog is open.
    bool acceptsInput() const;

private:
    void lockInput(bool locked);
    void showOptions();
    void tabChanged(int index);
    void helpClicked();

    QWidget* m_content; // everything the user can touch, locked as one
    QTabWidget* m_tabs; // repeated records, cleanup
    RepeatedRecordsTab* m_repeated;
    CleanupTab* m_cleanup;
    QToolButton* m_help; // the help page of the tab on view
    QToolButton* m_back; // "Back to control panel"
    MaintOptionForm* m_options;
    AutoRemoveOptions& m_autoRemove;
};

} // namespace papyrant
