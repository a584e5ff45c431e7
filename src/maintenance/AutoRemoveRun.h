#pragma once
// Auto remove: one pass over the records in title-sort order. The earlier record of a
// candidate pair is deleted when every selected field agrees; a pair that differs in a
// selected field stays and is counted as similar but not covered. A run of equal
// records therefore shrinks to its last one. Of a pair where exactly one record holds the
// user's own work (a personal comment or a category other than "None"), that record stays
// whichever comes first, so an edited, filed record never gives way to a fresh import of
// the same paper.
//
// The screen drives the pass through the tick driver: each step(budget) runs as many scan
// steps as fit in the tick, and the ticks share a transaction committed about twice a
// second. Only neighbours whose titles may agree are read (ScanRecords), and a deleted
// record's key is dropped from the ordered key list, so the pass stays linear however many
// records it removes.

#include "core/BatchTransaction.h"
#include "core/Database.h"
#include "core/FastDeletion.h"
#include "core/Stepper.h"
#include "maintenance/RepeatedRecords.h"
#include "maintenance/ScanRecords.h"

#include <QString>

#include <cstdint>

namespace papyrant {

// The sentence before the reason when auto remove fails: "Auto remove could not finish".
extern const QString AutoRemoveFailure;

class AutoRemoveRun : public Stepper {
public:
    // Opens the scan and stands on the first record. Throws StoreError. commitInterval 0
    // commits every tick.
    AutoRemoveRun(
        Database& db, const FieldFlags& selected, std::chrono::milliseconds commitInterval = BatchCommitInterval);

    // One tick: scan steps until the budget is spent or the end is found; the deletions
    // are committed when the transaction is due and at the end. On a store failure the
    // uncommitted ticks are rolled back, committed ones stay, and the run cannot go on;
    // the reason is the engine's description and what finished ticks deleted.
    StepOutcome step(const TickBudget& budget) override;
    bool finished() const { return m_finished; }

    // One step per record plus the step that finds the end, so the value stays within.
    StepProgress progress() const override { return {m_progress, m_progressMaximum}; }

    // Counts of the committed deletions.
    std::int64_t deletedCount() const { return m_deleted; }
    std::int64_t notCoveredCount() const { return m_notCovered; }

    // The report at the end of the run.
    QString report() const;

private:
    struct Tally {
        std::int64_t deleted = 0;
        std::int64_t notCovered = 0;
    };
    void scanStep(Tally& tally);

    FastDeletion m_fastDeletion; // for the run's length
    BatchTransaction m_batch; // after m_fastDeletion: rolled back before its setting goes
    FieldFlags m_selected;
    ScanRecords m_scan;
    bool m_finished = false;
    int m_progressMaximum = 0;
    int m_progress = 0;
    std::int64_t m_deleted = 0;
    std::int64_t m_notCovered = 0;
    Tally m_uncommitted;
    QString m_failure;
};

// True when the record's normalised fields hold a personal comment or a category other
// than "None" (letter case aside); empty values and the empty-field marker hold nothing.
bool holdsOwnWork(const FieldValues& record);

// "Papyrant deleted N similar records" LF, then "You still have M records appear to be
// similar but not cover your conditions to be deleted", each only when its count is
// above 0; "Papyrant detect no similar records" when both are 0.
QString autoRemoveReport(std::int64_t deleted, std::int64_t notCovered);

// The reason of a failure after AutoRemoveFailure: the engine's description and, on a line
// of its own, what finished ticks deleted; also when the run could not even start.
QString autoRemoveFailureReason(const QString& engineText, std::int64_t deleted = 0);

} // namespace papyrant
