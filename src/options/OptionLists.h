#pragma once
// What the search options offer: the lists read from the open bibliography and the sort
// choices that follow the requested output fields.

#include "core/RecordModel.h"

#include <QString>
#include <QStringList>

#include <array>

namespace papyrant {

// The distinct categories of the open bibliography, in the order the engine returns them.
// Points DataPath at BibPath and opens the shared binding for the read. Throws StoreError.
QStringList readCategories();

// The distinct languages of the open bibliography (the empty-field marker included when it
// is stored as a language), sorted alphabetically without regard to letter case.
// Points DataPath at BibPath. Throws StoreError.
QStringList readLanguages();

// The sort choices for the requested output: "None", then those of "Title",
// "Publishing year", "Publication type" and "Language" whose field is selected, in
// catalogue order. Entry j of the flags is field j of the catalogue.
QStringList sortChoices(const std::array<bool, FieldCount>& outputFields);

} // namespace papyrant
