#pragma once
// Tag maps a user saved, one row each in the `tagmaps` table of the labels file (VarEdoAbb),
// beside the label sets' `abbreviations`. A labels file written before tag maps existed has
// no such table: it reads as holding no saved map, and the first save adds the table, so
// such a file is never refused and its label sets are never touched.
//
// Every operation opens the labels file for itself, asks its own questions and tells the
// user itself when it fails, as the label-set store does: a failed operation leaves the file
// as it was, and a map that vanished between listing and acting on it is reported, never
// acted on. Names compare without letter case; the ready-made maps' names are not taken.

#include "core/Prompts.h"
#include "core/LabelsFile.h"
#include "formats/TagMap.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace papyrant {

// The statement that adds the table (to a labels file written before tag maps existed).
QString tagMapTableStatement();

class TagMapStore : private LabelsFileStore {
public:
    TagMapStore(Prompts& prompts, QString labelsPath);

    // The saved maps' names in store order; nothing when the file can't be read.
    std::optional<QStringList> names();
    // Every saved map in store order, read at once; nothing when the file can't be read.
    std::optional<std::vector<TagMap>> maps();
    // The saved map of that name; nothing when it is gone or the file can't be read (the
    // user has been told which, and `vanished`, when given, says whether it was gone).
    std::optional<TagMap> load(const QString& name, bool* vanished = nullptr);
    // Asks for a name (proposing the map's own), refusing a ready-made map's name, and
    // before overwriting a saved map of that name asks again. `name` of the result is the
    // name saved under.
    LabelChange save(const TagMap& map);
    // Deletes the saved map, after the question.
    LabelChange remove(const QString& name);
    // Asks for the new name, refusing any name taken by a saved or a ready-made map.
    LabelChange rename(const QString& oldName);

private:
    // Asks for a name until it is free (or the user allows an overwrite); empty when the user
    // gave none. Throws StoreError.
    QString askName(
        const QString& prompt, const QString& title, const QString& proposed, bool offerOverwrite, bool* overwrite);
};

} // namespace papyrant
