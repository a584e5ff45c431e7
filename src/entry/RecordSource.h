#pragma once
// Where an extraction run takes its records from: the label cut of a label set, or a tagged
// export read by a tag map. The run itself (counting, storing, committing, the failed
// records for manual adding, the end messages) is the same for both.

#include "core/RecordModel.h"

#include <QString>

#include <array>

namespace papyrant {

class RecordSource {
public:
    enum class Next {
        Record, // `row` holds a record to store
        Failed, // the record cannot be stored: its text was appended for manual adding
        NoneLeft // the text holds no further record
    };

    virtual ~RecordSource() = default;

    // The next record of the text: Title ... Abstract and TitelS into `row`, as extraction's
    // holders keep them, or its text appended to `failedTexts` when it cannot be stored.
    virtual Next next(std::array<QString, ColumnCount>& row, QString& failedTexts) = 0;
    // How far into the text the reading has come, in characters (for the progress bar).
    virtual qsizetype position() const = 0;
};

} // namespace papyrant
