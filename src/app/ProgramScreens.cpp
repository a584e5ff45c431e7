#include "app/ProgramScreens.h"

#include "entry/AutoExtractForm.h"
#include "entry/ManualForm.h"
#include "maintenance/MaintenanceForm.h"
#include "screens/ScreenRegistry.h"
#include "search/ReportForm.h"

namespace papyrant {

void registerProgramScreens(AutoRemoveOptions& autoRemove)
{
    // Each is built over the open bibliography the control panel hands it.
    screens().registerScreen(ScreenKind::AutoExtract, [](Bibliography& b) { return new AutoExtractForm(b); });
    screens().registerScreen(ScreenKind::ManualAdding, [](Bibliography& b) { return new ManualForm(b); });
    screens().registerScreen(ScreenKind::SearchResults, [](Bibliography& b) { return new ReportForm(b); });
    screens().registerScreen(
        ScreenKind::Maintenance, [&autoRemove](Bibliography& b) { return new MaintenanceForm(b, autoRemove); });
}

} // namespace papyrant
