#pragma once
// Copying every record of the current results into another bibliography, in timer ticks
// that share a transaction committed about twice a second, so the window repaints and the
// progress bar moves while thousands of records are copied. The open bibliography itself,
// under whatever name, is refused as the target.

#include "core/Database.h"
#include "core/KeyBatchRun.h"
#include "core/ProgramState.h"
#include "core/Prompts.h"
#include "core/ResultKeys.h"
#include "core/Stepper.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace papyrant {

class RecordSet;

inline const QString CopyTargetTitle = QStringLiteral("Copy current results to another bibliography");

// Asks for the target bibliography. A name the folder does not hold brings the question
// "Bibliography "<name>" Doesn't exist." LF "Do you want to create it?"; Yes copies the
// template there, No goes on with the name (the copy then reports the missing file).
// Nothing when the dialog was cancelled or the template could not be copied (reported
// with the system's description).
std::optional<ChosenFile> chooseCopyTarget(Prompts& prompts, const ProgramState& state);

class ResultCopy : public Stepper {
public:
    // Opens the target on a connection of its own and reads the open bibliography (on the
    // result's connection `source`) through it, a slice of keys at a time, in the order of
    // keys. When another program changed the open bibliography since the search, only
    // records that still meet the search go over. Throws StoreError when the target is the
    // source file itself under whatever name (copyIntoItselfText), cannot be opened or is
    // not a bibliography (no Abstracts table with the thirteen columns).
    ResultCopy(Database& source, ResultKeys keys, const QString& targetPath, const QString& targetTitle,
        std::chrono::milliseconds commitInterval = BatchCommitInterval);
    ~ResultCopy() override;
    ResultCopy(const ResultCopy&) = delete;
    ResultCopy& operator=(const ResultCopy&) = delete;

    // One tick: copies records until the budget is spent or all are copied, committing as
    // BatchTransaction says. All thirteen columns go over by name, unchanged (entry date,
    // category and sort key included). A failure undoes what was not committed yet; the
    // reason is the engine's description.
    StepOutcome step(const TickBudget& budget) override;
    // Keys handled of all keys.
    StepProgress progress() const override { return m_run->progress(); }

    int CopyTotal = 0; // records to copy
    int CopyDone = 0; // records copied, as committed
    // Records passed over because they no longer met the search, as committed.
    std::int64_t skipped() const { return m_run->skipped(); }

    // "Copying 25 records to x.pyr bibliography"
    QString progressText() const;
    // "25 records were copied to x.pyr bibliography": also after a failure, with what
    // was committed before it.
    QString outcomeText() const;

private:
    static std::unique_ptr<Database> openTarget(
        const QString& sourcePath, const QString& targetPath, const QString& targetTitle);
    std::int64_t sourceVersion();

    QString m_targetTitle;
    std::unique_ptr<Database> m_target;
    std::int64_t m_sourceVersion = 0;
    bool m_stale = false;
    std::unique_ptr<KeyBatchRun> m_run; // closed before the target
};

// The refusal of a target that is the open bibliography: ""x.pyr" is the open
// bibliography: the results are in it already." LF "Choose another bibliography to copy
// them to."
QString copyIntoItselfText(const QString& targetTitle);

// Lets the user choose the target (chooseCopyTarget) and opens the copy of every record
// of results, read from the open bibliography on its connection `source`. Nothing when the user cancelled or
// the target cannot be opened; a failure is reported with the system's description.
std::unique_ptr<ResultCopy> startResultCopy(
    Prompts& prompts, const ProgramState& state, Database& source, const RecordSet& results);

} // namespace papyrant
