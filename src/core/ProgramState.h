#pragma once
// The variables every screen shares. All texts start empty and all flags at 0;
// the control panel fills the first four at start (initialiseAtStart).

#include <QString>

#include <array>
#include <cstdint>

namespace papyrant {

struct ProgramState {
    QString ProgramFolder; // folder of the template, labels file and help pages
    QString LabelsPath; // ProgramFolder + "/VarEdoAbb"
    QString EmptyField; // the empty-field marker
    std::array<QString, 12> FieldNames; // display names of fields 0..11
    QString BibPath; // full path of the open bibliography; empty when none
    QString DataPath; // database the shared data binding opens next
    QString BibName; // file title without its last four characters
    QString CopyTargetPath; // bibliography the current results are copied into
    QString HelpPage; // full path of the help page to show next
    std::int16_t ReturnToPanel = 0; // 1 while a screen closes by "Back to control panel"
    std::int16_t ManualFromExtract = 0; // 1 while manual adding serves failed extractions

    // A bibliography is open exactly when it has a name.
    bool bibliographyOpen() const { return !BibName.isEmpty(); }

    // Start-up order: program folder (the working directory now), labels path,
    // empty-field marker, field catalogue.
    void initialiseAtStart(const QString& workingDirectory);
};

// The one instance the program's screens share.
ProgramState& programState();

// Full path of a file in the program folder ("/VarEdoRecors", "/Hmain.htm").
QString programFile(const ProgramState& state, const QString& leafWithSeparator);

} // namespace papyrant
