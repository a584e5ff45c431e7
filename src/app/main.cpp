// Papyrant: keeps bibliographies of literature records.

#include "app/ProgramScreens.h"
#include "app/QtPrompts.h"
#include "maintenance/AutoRemoveOptions.h"
#include "panel/MainForm.h"
#include "screens/ScreenKit.h"
#include "screens/WindowPlacement.h"

#include <QApplication>

using namespace papyrant;

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Papyrant"));
    QApplication::setApplicationVersion(QStringLiteral(PAPYRANT_VERSION));

    // Boxes belong to whichever window is active when they are asked; the prompts
    // must be in place before the panel loads, as its load may already report.
    QtPrompts qtPrompts;
    setPrompts(&qtPrompts);
    // Names for screen readers, tab keys and focus rings in every window.
    installScreenKit();

    // Which fields auto remove compares: kept for as long as the program runs.
    AutoRemoveOptions autoRemove;

    // The working screens, opened by the control panel through the registry.
    registerProgramScreens(autoRemove);

    // The panel's load takes the program folder from the working directory.
    auto* panel = new MainForm;
    panel->setAttribute(Qt::WA_DeleteOnClose);
    showCentredOver(panel, nullptr);
    const int status = app.exec();
    setPrompts(nullptr);
    return status;
}
