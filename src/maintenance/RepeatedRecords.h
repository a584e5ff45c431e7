#pragma once
// What makes two records "repeated": records are read in title-sort order, and two
// neighbours whose titles agree form a candidate pair. Values are compared after their
// leading and trailing blanks and line breaks are dropped, exactly and case-sensitively.

#include "core/RecordModel.h"

#include <QString>

#include <array>

namespace papyrant {

class RecordSet;

// The scan order shared by auto remove and the review of pairs. A sort key another tool
// stored as bytes sorts as its text, beside its twins.
inline const QString ScanStatement = QStringLiteral("Select Abstracts.* From Abstracts Order by CAST(TitelS AS TEXT)");

// Fields 0..11 of one record, or one flag per field, in catalogue order.
using FieldValues = std::array<QString, FieldCount>;
using FieldFlags = std::array<bool, FieldCount>;

// The value with spaces, carriage returns and line feeds removed from both ends;
// everything inside, letter case and the empty-field marker stay.
QString normalisedValue(const QString& value);

// The current record's fields 0..11, normalised.
FieldValues normalisedFields(const RecordSet& records);

// Flag i is set when both records hold the same value in field i.
FieldFlags similarityMarks(const FieldValues& first, const FieldValues& second);

// True when some selected field differs between the two records.
bool differInSelected(const FieldValues& first, const FieldValues& second, const FieldFlags& selected);

} // namespace papyrant
