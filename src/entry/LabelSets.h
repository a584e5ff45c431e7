#pragma once
// Label sets: named sets of start and end labels, one row each in the `abbreviations`
// table of the labels file (VarEdoAbb). Label i belongs to field i of the catalogue
// (Title ... Abstract).
//
// Every operation opens the labels file for itself and closes it again, asks its own
// questions and tells the user itself when it fails; a failed operation leaves the file as
// it was (each write is one transaction). A set that vanished from the file between
// listing and acting on it is reported, never acted on.

#include "core/LabelsFile.h"
#include "core/Prompts.h"
#include "core/RecordModel.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <optional>

namespace papyrant {

inline constexpr int LabelFieldCount = ExtractedFieldCount;
using Labels = std::array<QString, LabelFieldCount>;

struct LabelSet {
    QString name;
    Labels startLabels; // "Start after" of field i
    Labels endLabels; // "End before" of field i
};

// Column of the start label (Title1 ... Ab1) and of the end label (Title2 ... Ab2) of field i.
const std::array<QString, LabelFieldCount>& startLabelColumns();
const std::array<QString, LabelFieldCount>& endLabelColumns();

// The statements the store runs.
QString labelSetNamesQuery();
QString labelSetLookupQuery(const QString& name); // the name is quoted safely
QString labelSetTableQuery();

// The field whose start label occurs first in the text, so a run started with it begins
// every record where the export does (the MEDLINE set: Publishing year, since DP precedes
// TI); -1 when no start label occurs. Empty labels are passed over.
int earliestStartLabelField(const Labels& startLabels, QStringView text);

class LabelSetStore : private LabelsFileStore {
public:
    LabelSetStore(Prompts& prompts, QString labelsPath);

    // FillLabelSetList: every name in store order; nothing when the file can't be read.
    std::optional<QStringList> names();
    // The set of that name; nothing when it is gone or the file can't be read (the user
    // has been told which, and vanished, when given, says whether it was gone).
    std::optional<LabelSet> load(const QString& name, bool* vanished = nullptr);
    // "Save current Labels": asks for a name, and before overwriting a set of that name
    // (letter case ignored) asks again.
    LabelChange save(const Labels& startLabels, const Labels& endLabels);
    // "Delete current Labels", after the question.
    LabelChange remove(const QString& name);
    // "Rename current Labels": asks for the new name, refusing any name already taken.
    LabelChange rename(const QString& oldName);

private:
    bool exists(const QString& name) const; // throws StoreError
};

} // namespace papyrant
