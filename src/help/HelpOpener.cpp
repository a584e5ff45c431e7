#include "help/HelpOpener.h"

#include "core/ProgramState.h"
#include "core/Prompts.h"
#include "help/Help1.h"

#include <QApplication>

#include <stdexcept>

namespace papyrant {

bool showHelp(const QString& pageLeaf)
{
    const ProgramState& state = programState();
    try {
        if (state.ProgramFolder.isEmpty() || pageLeaf.isEmpty())
            throw std::runtime_error("no help page to show");
        const bool firstOpening = !Help1::exists();
        QWidget* caller = QApplication::activeWindow();
        Help1& window = Help1::instance();
        window.navigate(programFile(state, pageLeaf));
        // A dialog waits for its own button while the screen behind it is locked: help
        // that stood over it would hide that button, so help moves beside it.
        const bool coversDialog = caller && caller != &window && caller->windowType() == Qt::Dialog
            && window.frameGeometry().intersects(caller->frameGeometry());
        if ((firstOpening && caller != &window) || coversDialog)
            window.placeBeside(caller);
        window.hide();
        window.show();
        window.raise();
        window.activateWindow();
        return true;
    } catch (const std::exception&) {
        prompts().notice(QStringLiteral("An error occur at loading help"));
        return false;
    }
}

} // namespace papyrant
