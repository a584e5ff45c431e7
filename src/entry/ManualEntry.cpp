#include "entry/ManualEntry.h"

#include "core/CommonPrompts.h"
#include "core/Database.h"
#include "core/RecordSet.h"

#include <QSaveFile>

#include <climits>

namespace papyrant {

int manualHolderLimit(int column)
{
    switch (column) {
    case Publishing_year: return 50;
    case Language: return 100;
    case Entry_Date: return 40;
    case TitelS: return 240;
    case Category: return 50;
    default: return INT_MAX;
    }
}

bool hasRecordData(const EntryBoxes& boxes)
{
    for (int i = 0; i <= Abstract; ++i) {
        if (!holdText(boxes[i], INT_MAX).isEmpty())
            return true;
    }
    return false;
}

std::array<QString, ColumnCount> manualRecord(const EntryBoxes& boxes, const QString& category)
{
    std::array<QString, ColumnCount> record;
    for (int i = 0; i < EntryBoxCount; ++i) {
        // A box left empty, or holding only blanks and line breaks, stores the marker.
        record[i] = heldOrMarker(boxes[i], manualHolderLimit(i));
    }
    record[TitelS] = holdText(record[Title], manualHolderLimit(TitelS));
    record[Category] = holdText(category, manualHolderLimit(Category));
    return record;
}

void addRecord(RecordSet& table, const std::array<QString, ColumnCount>& record)
{
    table.addNew();
    try {
        for (int c = 0; c < ColumnCount; ++c)
            table.setValue(columnName(c), record[c]);
        table.update();
    } catch (...) {
        table.cancelUpdate();
        throw;
    }
}

QString addFailureMessage(const QString& reason)
{
    return QStringLiteral("The record couldn't be added.") + QLatin1Char('\n') + reason;
}

namespace {

// Writes the whole text or nothing: the old file stays until the new one is complete.
void writeText(const QString& path, const QString& text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error(file.errorString().toStdString());
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error(file.errorString().toStdString());
}

void reportSaveFailure(Prompts& prompts, const std::exception& error)
{
    prompts.notice(QStringLiteral("The file couldn't be saved correctly") + QLatin1Char('\n') + errorText(error));
}

} // namespace

void saveCurrentState(Prompts& prompts, SavedState& saved, const QString& text)
{
    try {
        if (saved.StateSaved) {
            writeText(saved.StateFilePath, text);
            return;
        }
        for (;;) {
            const auto chosen = prompts.saveFile(
                QStringLiteral("Save"), QStringLiteral("Text File (*.txt)|*.txt"), QStringLiteral("temptext"));
            if (!chosen)
                return;
            if (fileTaken(*chosen, QStringLiteral("*.txt")) && !askReplaceFile(prompts, chosen->fileTitle))
                continue;
            writeText(chosen->fullPath, text);
            saved.StateSaved = true;
            saved.StateFilePath = chosen->fullPath;
            return;
        }
    } catch (const std::exception& e) {
        reportSaveFailure(prompts, e);
    }
}

} // namespace papyrant
