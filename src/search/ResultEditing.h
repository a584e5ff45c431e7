#pragma once
// Walking through the records of a search on the edit tab, saving a changed record and
// removing one, over the result set the search produced. Pure logic: the edit tab hands
// in its texts and shows what comes back.

#include "core/Prompts.h"
#include "search/ResultsState.h"

#include <QString>

#include <array>
#include <optional>

namespace papyrant {

class RecordSet;

inline constexpr int EditFieldCount = 11; // Title ... Entry date
using EditTexts = std::array<QString, EditFieldCount>;

inline const QString NoRecordsFound = QStringLiteral("This search revealed no records");
inline const QString AllRecordsDeleted = QStringLiteral("All records were deleted");

// "Record no. 3 of 17".
QString recordCounter(int currentRecordNo, int resultCount);

struct NavigationButtons {
    bool previous = false;
    bool next = false;
    bool operator==(const NavigationButtons&) const = default;
};

// Previous and next for a record of the set: neither on the only record, nor when the
// set is empty.
NavigationButtons navigationButtons(int currentRecordNo, int resultCount);

// What the edit tab shows after a move.
struct EditPosition {
    QString counter;
    NavigationButtons buttons;
};

struct EditFields {
    EditTexts texts; // the empty-field marker shows as an empty field
    std::optional<QString> category; // none when there is no current record
};

// LoadEditFields: the current record's fields as the edit tab shows them.
EditFields LoadEditFields(const RecordSet& records);

// Next and previous record; at either end of the set nothing moves.
EditPosition nextRecord(RecordSet& records, ResultsState& state);
EditPosition previousRecord(RecordSet& records, ResultsState& state);

// The record number typed into the go-to box, corrected into 1 ... count, and the text the
// box shows then (what was typed, or the corrected number).
struct GoToTarget {
    int recordNo = 1;
    QString boxText;
};
GoToTarget goToTarget(const QString& typed, int resultCount);

// Makes record recordNo (1-based) current by skipping from the first. Nothing when the
// set is empty.
std::optional<EditPosition> goToRecord(RecordSet& records, ResultsState& state, int recordNo);

// Writes the edit texts and the category into the current record: an empty field stores
// the empty-field marker, each value loses line breaks and blanks at both ends, and the
// sort key follows the title. Nothing happens without a current record. Throws
// StoreError; the record is then unchanged and the set no longer editing.
void saveCurrentRecord(RecordSet& records, const EditTexts& texts, const QString& category);

// Asked before a record with changed fields is left: "Save the changes to this record?"
// with Yes (the default), No and Cancel and the question icon.
PromptButton askSaveChanges(Prompts& prompts);

// Deletes the current record from the bibliography and drops it from the set, without
// running the search again; the record before it becomes current (the new first one when
// the first was removed). Throws StoreError with the set and the state unchanged.
EditPosition removeCurrentRecord(RecordSet& records, ResultsState& state);

} // namespace papyrant
