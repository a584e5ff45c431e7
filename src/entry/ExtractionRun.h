#pragma once
// Automatic extraction: cutting the text of the view into records by a label set.
//
// A record runs from one occurrence of the first field's start label (included) to the next
// (excluded); text before the first occurrence is never used. Field i's value lies between
// its start and end labels, both searched from the record's start and only inside the
// record. A record in which a field ends at or before its own start fails as a whole: it
// is not stored, and its number and text are kept for manual adding. Positions come from the
// view's selection, which a label not found leaves as it was; several quirks users rely on
// follow from that (a missing start label cuts from the previous field's end).
//
// The run is a stepper: step() handles records until the tick's budget is spent; the ticks
// share a transaction committed about twice a second, so an interruption keeps every
// record committed before it, and a store failure keeps every record finished before it.

#include "core/BatchTransaction.h"
#include "core/RecordModel.h"
#include "core/Stepper.h"
#include "entry/LabelSets.h"
#include "entry/TextModel.h"

#include <QString>

#include <array>
#include <optional>

namespace papyrant {

class Database;
class RecordSet;

// The run state, reset at every start.
struct ExtractionState {
    qsizetype RecordStart = 0; // start of the current record
    qsizetype RecordEnd = 0; // end of the current record (exclusive)
    qsizetype FieldStart = 0; // first character of the current field value
    qsizetype FieldEnd = 0; // position right after the current field value
    int EndPhase = 0; // 0: records follow; 1: the current record is the last; 2: none left
    bool RecordFailed = false; // the current record failed to cut
    int RecordCounter = 0; // records handled so far, the last one included
    QString FailedNumbers; // "  " and the number of every failed record
    QString FailedTexts; // the failed records' texts, joined without separator
    QString FirstLabel; // start label of the first field
};

// What the run is given when it starts.
struct ExtractionSetup {
    Labels startLabels;
    Labels endLabels;
    int firstField = 0; // index 0..8 of the field whose start label begins every record
    QString category; // the text of the category box
};

// Why a run would not start: the message and the label box that gets the focus.
struct StartRefusal {
    QString message;
    int field = 0;
    bool endLabel = false; // the "End before" box, else the "Start after" box
};

// The record holders of extraction: the maximum length each column keeps.
int extractionHolderLimit(int column);

// The value a holder keeps of a cut text: cut, cleaned, and the marker when nothing is left.
QString extractedValue(const QString& cut, int column);

class ExtractionRun : public Stepper {
public:
    // The text is the view's model (its selection moves as the run goes); rows are added to
    // `table`, an updatable set over Abstracts opened on `db`. commitInterval 0 commits
    // every tick.
    ExtractionRun(TextModel& text, Database& db, RecordSet& table,
        std::chrono::milliseconds commitInterval = BatchCommitInterval);

    // StartExtraction: resets the state and checks the first field's labels.
    std::optional<StartRefusal> start(const ExtractionSetup& setup);

    // ExtractNextRecord, repeated until the budget is spent or the run has ended. Done once
    // the run has ended (FinishExtraction is then due). On a store failure the records
    // finished before it are committed, the run cannot go on, and the reason is the
    // engine's description.
    StepOutcome step(const TickBudget& budget) override;
    // In thousands of characters of the text.
    StepProgress progress() const override { return {progressValue(), progressMaximum()}; }

    // FinishExtraction's part in the text: the selection goes back to the start.
    void finish();

    const ExtractionState& state() const { return m_state; }
    bool ended() const { return m_state.EndPhase >= 2; }
    // Progress in units of 1000 characters.
    int progressMaximum() const;
    int progressValue() const { return int(m_progress / 1000); }

    // The end of a run: the question offering the failed records to manual adding, or the
    // count of records added.
    bool anyFailed() const { return !m_state.FailedNumbers.isEmpty(); }
    QString failedRecordsQuestion() const;
    QString successMessage() const;

private:
    bool extractNextRecord(); // true when no record was left
    bool cutField(int field, std::array<QString, ColumnCount>& row);

    TextModel& m_text;
    Database& m_db;
    RecordSet& m_table;
    ExtractionSetup m_setup;
    QString m_category; // the setup's category as its holder keeps it
    QString m_entryDate; // today, as the records of this tick are entered
    ExtractionState m_state;
    qsizetype m_progress = 0;
    BatchTransaction m_batch;
    qint64 m_lastCommitMs = 0;
    QString m_failure;
};

} // namespace papyrant
