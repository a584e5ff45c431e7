#pragma once
// Which fields must agree before auto remove deletes the earlier record of a pair, as one
// value. The program keeps it for as long as it runs (main owns it and hands it to every
// maintenance screen), so closing and reopening the screen keeps the choice and the next
// start begins again from Title and Abstract. The options dialog edits a copy and hands it
// back on "OK".

#include "maintenance/RepeatedRecords.h"

#include <QString>

namespace papyrant {

struct AutoRemoveOptions {
    FieldFlags fields = titleAndAbstract();

    // At least one field is ticked: "OK" accepts only then.
    bool anySelected() const;
    // The sentence under the options list: "Auto remove repeated records when Title,
    // Abstract of them are similar.", or the request to tick at least one field.
    QString sentence() const;

    static FieldFlags titleAndAbstract();
    bool operator==(const AutoRemoveOptions&) const = default;
};

} // namespace papyrant
