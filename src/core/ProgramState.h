#pragma once
// What is program-wide: the program folder and the labels file in it. The control panel
// fills it at start (initialiseAtStart). The open bibliography is not here: the panel owns
// it (Bibliography) and hands it to the screens it opens.

#include <QString>

namespace papyrant {

struct ProgramState {
    QString ProgramFolder; // folder of the template, labels file and help pages
    QString LabelsPath; // ProgramFolder + "/VarEdoAbb"

    // The program folder is the working directory at start; the labels path follows it.
    void initialiseAtStart(const QString& workingDirectory);
};

// The one instance the program's screens share.
ProgramState& programState();

// Full path of a file in the program folder ("/VarEdoRecors", "/Hmain.htm").
QString programFile(const ProgramState& state, const QString& leafWithSeparator);

} // namespace papyrant
