// Papyrant: keeps bibliographies of literature records.

#include "app/QtPrompts.h"
#include "entry/AutoExtractForm.h"
#include "entry/ManualForm.h"
#include "maintenance/MaintenanceForm.h"
#include "panel/MainForm.h"
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

    // Working screens register their factories with screens() here as they are built.
    screens().registerScreen(ScreenKind::AutoExtract, [] { return new AutoExtractForm; });
    screens().registerScreen(ScreenKind::ManualAdding, [] { return new ManualForm; });
    screens().registerScreen(ScreenKind::SearchResults, [] { return new ReportForm; });
    screens().registerScreen(ScreenKind::Maintenance, [] { return new MaintenanceForm; });

    // The panel's load takes the program folder from the working directory.
    auto* panel = new MainForm;
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->show();
    const int status = app.exec();
    setPrompts(nullptr);
    return status;
}
