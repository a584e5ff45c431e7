#pragma once
// Which fields must agree before auto remove deletes the earlier record of a pair.
// The choice lives as long as the program: closing and reopening the maintenance screen
// keeps it, the next start of the program begins again from Title and Abstract.

#include "maintenance/RepeatedRecords.h"

#include <QString>

namespace papyrant {

// Title and Abstract.
FieldFlags defaultAutoRemoveFields();

// The program's choice, read by every auto-remove run.
FieldFlags& autoRemoveFields();

bool anySelected(const FieldFlags& selected);

// The sentence under the options list: "Auto remove repeated records when Title,
// Abstract of them are similar.", or the request to tick at least one field.
QString autoRemoveSentence(const FieldFlags& selected);

} // namespace papyrant
