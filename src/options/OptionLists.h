#pragma once
// What the search options offer: the languages of the open bibliography and the sort
// choices that follow the requested output fields.

#include "core/RecordModel.h"

#include <QString>
#include <QStringList>

#include <array>

namespace papyrant {

class Database;

// The distinct languages of a bibliography (the empty-field marker included when it is
// stored as a language), sorted alphabetically without regard to letter case.
// Throws StoreError.
QStringList readLanguages(Database& bibliography);

// The sort choices for the requested output: "None", then those of "Title",
// "Publishing year", "Publication type" and "Language" whose field is selected, in
// catalogue order. Entry j of the flags is field j of the catalogue.
QStringList sortChoices(const std::array<bool, FieldCount>& outputFields);

} // namespace papyrant
