#pragma once
// Manual adding: the record written from the eleven entry boxes, and the saved state of the
// text being worked through.

#include "core/Prompts.h"
#include "core/RecordModel.h"

#include <QString>

#include <array>

namespace papyrant {

class RecordSet;

inline constexpr int EntryBoxCount = 11; // fields 0..10: Title ... Entry date

using EntryBoxes = std::array<QString, EntryBoxCount>;

// The maximum length the manual-adding holder of a column keeps.
int manualHolderLimit(int column);

// True when one of the nine main boxes (Title ... Abstract) holds a value; the personal
// comment and the entry date do not count. A box of nothing but blanks and line breaks
// holds no value.
bool hasRecordData(const EntryBoxes& boxes);

// The thirteen column values of the record: each box through its holder, the marker for a
// box without value, the sort key from the title and the category.
std::array<QString, ColumnCount> manualRecord(const EntryBoxes& boxes, const QString& category);

// Adds the record as a new row of the set (manual adding and extraction alike). Throws
// StoreError; nothing is written then.
void addRecord(RecordSet& table, const std::array<QString, ColumnCount>& record);

// "The record couldn't be added." and the store's description on the next line.
QString addFailureMessage(const QString& reason);

// What the screen remembers of the file its text was last saved to.
struct SavedState {
    bool StateSaved = false; // the text has been saved to the file below
    QString StateFilePath; // where it was saved
};

// "Save current state in a file": the first time asks for a file (proposing "temptext" and
// asking before replacing one), afterwards writes to the same file without asking. Failures
// are reported as "The file couldn't be saved correctly" and the store's reason; a file that
// existed keeps its old content then.
void saveCurrentState(Prompts& prompts, SavedState& saved, const QString& text);

} // namespace papyrant
