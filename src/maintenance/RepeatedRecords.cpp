#include "maintenance/RepeatedRecords.h"

#include "core/RecordSet.h"

namespace papyrant {

static bool isEndFiller(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

QString normalisedValue(const QString& value)
{
    // Most values need no trimming; they are handed back shared rather than copied, as
    // a scan normalises every field of every record.
    if (value.isEmpty() || (!isEndFiller(value.front()) && !isEndFiller(value.back())))
        return value;
    return holdText(value, static_cast<int>(value.size()));
}

FieldValues normalisedFields(const RecordSet& records)
{
    FieldValues values;
    for (int i = 0; i < FieldCount; ++i)
        values[i] = normalisedValue(records.value(i));
    return values;
}

FieldFlags similarityMarks(const FieldValues& first, const FieldValues& second)
{
    FieldFlags marks{};
    for (int i = 0; i < FieldCount; ++i)
        marks[i] = first[i] == second[i];
    return marks;
}

bool differInSelected(const FieldValues& first, const FieldValues& second, const FieldFlags& selected)
{
    for (int i = 0; i < FieldCount; ++i) {
        if (selected[i] && first[i] != second[i])
            return true;
    }
    return false;
}

} // namespace papyrant
