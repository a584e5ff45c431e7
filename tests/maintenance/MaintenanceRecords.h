#pragma once
// Records for the maintenance tests, written "sort key|title|abstract" with an optional
// "|category" ("None" without it): the sort key fixes the scan order, and each record
// carries its tag r0, r1, ... in Personal so a test can tell which records are left. Every
// other field holds the empty-field marker.

#include "core/RecordModel.h"
#include "support/TestFolders.h"

#include <QStringList>

namespace papyrant::test {

inline std::vector<TestRecord> taggedRecords(const QStringList& lines)
{
    std::vector<TestRecord> records;
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList parts = lines[i].split(QLatin1Char('|'));
        TestRecord record;
        for (const QString& column : columnNames())
            record[column] = EmptyFieldMarker;
        record[QStringLiteral("TitelS")] = parts.value(0);
        record[QStringLiteral("Title")] = parts.value(1);
        record[QStringLiteral("Abstract")] = parts.value(2);
        record[QStringLiteral("Personal")] = QStringLiteral("r%1").arg(i);
        record[QStringLiteral("Entry_Date")] = QStringLiteral("1.2.2020");
        record[QStringLiteral("Category")] = parts.size() > 3 ? parts[3] : NoCategory;
        records.push_back(record);
    }
    return records;
}

// The tags of the records still stored, in the order they were added.
inline QStringList remainingTags(const QString& path)
{
    QStringList tags;
    for (const QStringList& row : readRows(path, QStringLiteral("SELECT Personal FROM Abstracts ORDER BY rowid")))
        tags << row.front();
    return tags;
}

} // namespace papyrant::test
