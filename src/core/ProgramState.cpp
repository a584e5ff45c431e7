#include "core/ProgramState.h"

#include <QDir>

namespace papyrant {

void ProgramState::initialiseAtStart(const QString& workingDirectory)
{
    // Later changes of the working directory (file dialogs make them) must not move
    // the program folder, so it is taken once, here.
    ProgramFolder = QDir::cleanPath(workingDirectory);
    if (ProgramFolder.endsWith(QLatin1Char('/')) && ProgramFolder.size() > 1)
        ProgramFolder.chop(1);
    LabelsPath = programFile(*this, QStringLiteral("/VarEdoAbb"));
}

ProgramState& programState()
{
    static ProgramState state;
    return state;
}

QString programFile(const ProgramState& state, const QString& leafWithSeparator)
{
    return state.ProgramFolder + leafWithSeparator;
}

} // namespace papyrant
