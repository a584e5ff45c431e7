#pragma once
// What a file must be for the program to read and write its records exactly.

#include "core/Database.h"

namespace papyrant {

// Refuses a file that is not such a bibliography: Abstracts must be an ordinary table
// (one with row ids), start with the thirteen record columns in their order (screens
// and copies address them by index) and declare each of them as text, so values come
// back as stored ("0042" stays "0042"). Other columns may follow, unless one must hold
// a value and has no default: adds set only the thirteen. Throws StoreError
// whose text names what is wrong ("the table Abstracts has no column Keywords").
void checkBibliography(Database& db);

// The number of records, counted by the engine without reading any of them.
int countRecords(Database& db);

} // namespace papyrant
