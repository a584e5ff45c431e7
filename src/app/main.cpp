// Papyrant: keeps bibliographies of literature records.

#include "app/QtPrompts.h"
#include "entry/AutoExtractForm.h"
#include "entry/ManualForm.h"
#include "maintenance/MaintenanceForm.h"
#include "panel/MainForm.h"
#include "screens/ScreenKit.h"
#include "screens/WindowPlacement.h"
#include "search/ReportForm.h"

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
    // Each is built over the open bibliography the control panel hands it.
    screens().registerScreen(ScreenKind::AutoExtract, [](Bibliography& b) { return new AutoExtractForm(b); });
    screens().registerScreen(ScreenKind::ManualAdding, [](Bibliography& b) { return new ManualForm(b); });
    screens().registerScreen(ScreenKind::SearchResults, [](Bibliography& b) { return new ReportForm(b); });
    screens().registerScreen(
        ScreenKind::Maintenance, [&autoRemove](Bibliography& b) { return new MaintenanceForm(b, autoRemove); });

    // The panel's load takes the program folder from the working directory.
    auto* panel = new MainForm;
    panel->setAttribute(Qt::WA_DeleteOnClose);
    showCentredOver(panel, nullptr);
    const int status = app.exec();
    setPrompts(nullptr);
    return status;
}
