#pragma once
// Creating and opening bibliography files, and the status line that names the open one.

#include "core/Bibliography.h"
#include "core/ProgramState.h"
#include "core/Prompts.h"

#include <QString>

#include <optional>
#include <stdexcept>

namespace papyrant {

inline const QString BibliographyFilter = QStringLiteral("Papyrant File (*.pyr)|*.pyr");
inline const QString TemplateLeaf = QStringLiteral("/VarEdoRecors");

// The status line while no bibliography is open.
inline const QString NoBibliographyStatus = QStringLiteral("Please open or cerate bibliography first");

// Checks the open bibliography, reads its record count and gives the status line
// ("bibliography name is: x, contains 3 records"). Throws on any store error (not a
// database, no Abstracts table, locked).
QString refreshRecordCount(Bibliography& bibliography);

// The status line of an open bibliography whose records cannot be counted now.
QString uncountedStatus(const Bibliography& bibliography);

// Asks for a new file, copies the program folder's template there and opens it as the
// bibliography. Gives the new status line, or nothing when the user cancelled or a
// failure was reported to the user.
std::optional<QString> createBibliography(Prompts& prompts, const ProgramState& state, Bibliography& bibliography);

// Asks for an existing file and opens it as the bibliography. Gives the new status line,
// or nothing when the user cancelled or the file could not be opened.
//
// Create and open check the chosen file before it replaces the open bibliography: after a
// failure the bibliography open before is still open, unless the file that failed is that
// very bibliography, which is then closed.
std::optional<QString> openBibliography(Prompts& prompts, Bibliography& bibliography);

// The template is not in the program folder.
class TemplateMissing : public std::runtime_error {
public:
    TemplateMissing();
};

// Copies the template over the target in one step: a copy is made beside the target
// and renamed onto it, so a failed copy leaves the old file as it was. Throws
// TemplateMissing, or std::runtime_error with the system's description.
void copyTemplate(const QString& templatePath, const QString& target);

// The displayed name of a file: its title less the last four characters.
// Throws when the title is shorter than that.
QString bibliographyName(const QString& fileTitle);

} // namespace papyrant
