#include "search/ResultEditing.h"

#include "core/RecordModel.h"
#include "core/RecordSet.h"

#include <limits>

namespace papyrant {

namespace {

EditPosition positionOf(const ResultsState& state)
{
    return {recordCounter(state.CurrentRecordNo, state.ResultCount),
        navigationButtons(state.CurrentRecordNo, state.ResultCount)};
}

} // namespace

QString recordCounter(int currentRecordNo, int resultCount)
{
    return QStringLiteral("Record no. ") + QString::number(currentRecordNo) + QStringLiteral(" of ")
        + QString::number(resultCount);
}

NavigationButtons navigationButtons(int currentRecordNo, int resultCount)
{
    NavigationButtons buttons;
    if (currentRecordNo == 1)
        buttons = {false, true};
    if (currentRecordNo == resultCount)
        buttons = {true, false};
    if (currentRecordNo > 1 && currentRecordNo < resultCount)
        buttons = {true, true};
    if (resultCount <= 1)
        buttons = {false, false};
    return buttons;
}

EditFields LoadEditFields(const RecordSet& records)
{
    EditFields fields;
    if (!records.hasCurrent())
        return fields;
    for (int i = 0; i < EditFieldCount; ++i) {
        const QString value = records.value(columnName(i));
        fields.texts[i] = isEmptyField(value) ? QString() : value;
    }
    fields.category = records.value(columnName(Category));
    return fields;
}

EditPosition nextRecord(RecordSet& records, ResultsState& state)
{
    if (records.hasCurrent() && records.absolutePosition() + 1 < records.recordCount()) {
        records.moveNext();
        state.CurrentRecordNo = records.absolutePosition() + 1;
    }
    EditPosition position = positionOf(state);
    position.buttons.previous = state.ResultCount > 1;
    return position;
}

EditPosition previousRecord(RecordSet& records, ResultsState& state)
{
    if (records.hasCurrent() && records.absolutePosition() > 0) {
        records.movePrevious();
        state.CurrentRecordNo = records.absolutePosition() + 1;
    }
    EditPosition position = positionOf(state);
    position.buttons.next = state.ResultCount > 1;
    return position;
}

GoToTarget goToTarget(const QString& typed, int resultCount)
{
    // The leading digits; a number past any record count stands for "the last".
    qint64 number = 0;
    for (QChar c : typed) {
        if (!c.isDigit() || c.unicode() > 127)
            break;
        number = std::min<qint64>(number * 10 + c.digitValue(), std::numeric_limits<int>::max());
    }
    GoToTarget target{static_cast<int>(number), typed};
    if (target.recordNo > resultCount) {
        target.recordNo = resultCount;
        target.boxText = QString::number(resultCount);
    }
    if (target.recordNo < 1) {
        target.recordNo = 1;
        target.boxText = QStringLiteral("1");
    }
    return target;
}

std::optional<EditPosition> goToRecord(RecordSet& records, ResultsState& state, int recordNo)
{
    if (records.recordCount() == 0)
        return std::nullopt;
    records.moveFirst();
    if (recordNo > 1)
        records.skip(recordNo - 1);
    state.CurrentRecordNo = recordNo;
    return positionOf(state);
}

void saveCurrentRecord(RecordSet& records, const EditTexts& texts, const QString& category)
{
    if (!records.hasCurrent())
        return;
    records.edit();
    try {
        for (int i = 0; i < EditFieldCount; ++i)
            records.setValue(columnName(i), heldOrMarker(texts[i], static_cast<int>(texts[i].size())));
        const QString kept = holdText(category, static_cast<int>(category.size()));
        records.setValue(columnName(Category), kept.isEmpty() ? NoCategory : kept);
        records.setValue(columnName(TitelS), heldOrMarker(texts[Title], static_cast<int>(texts[Title].size())));
        records.update();
    } catch (...) {
        records.cancelUpdate();
        throw;
    }
}

PromptButton askSaveChanges(Prompts& prompts)
{
    return prompts.message(QStringLiteral("Save the changes to this record?"), programTitle(),
        PromptButtons::YesNoCancel, PromptIcon::Question, PromptButton::Yes);
}

EditPosition removeCurrentRecord(RecordSet& records, ResultsState& state)
{
    const int removed = records.absolutePosition();
    records.deleteCurrent();
    state.ResultCount -= 1;
    state.ResultsChanged = true;
    if (state.ResultCount > 0) {
        records.moveFirst();
        if (removed > 1)
            records.skip(removed - 1);
    }
    state.CurrentRecordNo = removed > 0 ? removed : 1;
    EditPosition position = positionOf(state);
    if (state.ResultCount == 0)
        position.counter = AllRecordsDeleted;
    return position;
}

} // namespace papyrant
