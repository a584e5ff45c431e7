#pragma once
// Automatic extraction: the records of the view's text into the open bibliography, cut by a
// label set (LabelCut) or read from a tagged export by a tag map (any RecordSource).
//
// The run is a stepper: step() handles records until the tick's budget is spent; the ticks
// share a transaction committed about twice a second, so an interruption keeps every
// record committed before it, and a store failure keeps every record finished before it.
// A record the source cannot give is not stored: its number and text are kept for manual
// adding.

#include "core/BatchTransaction.h"
#include "core/RecordModel.h"
#include "core/Stepper.h"
#include "entry/LabelSets.h"
#include "entry/RecordSource.h"
#include "entry/TextModel.h"

#include <QString>

#include <array>
#include <memory>
#include <optional>

namespace papyrant {

class Database;
class RecordSet;

// The run state, reset at every start.
struct ExtractionState {
    int RecordCounter = 0; // records handled so far, the last one included
    QString FailedNumbers; // "  " and the number of every failed record
    QString FailedTexts; // the failed records' texts, joined without separator
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

class ExtractionRun : public Stepper {
public:
    // The text is the view's model (a label cut moves its selection); rows are added to
    // `table`, an updatable set over Abstracts opened on `db`. commitInterval 0 commits
    // every tick.
    ExtractionRun(TextModel& text, Database& db, RecordSet& table,
        std::chrono::milliseconds commitInterval = BatchCommitInterval);

    // StartExtraction by labels: resets the state and checks the first field's labels.
    std::optional<StartRefusal> start(const ExtractionSetup& setup);
    // StartExtraction from another source over the same text (a tag map's).
    void start(std::unique_ptr<RecordSource> source, const QString& category);

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
    bool ended() const { return m_ended; }
    // Progress in units of 1000 characters.
    int progressMaximum() const;
    int progressValue() const { return int(m_progress / 1000); }

    // The end of a run: the question offering the failed records to manual adding, or the
    // count of records added.
    bool anyFailed() const { return !m_state.FailedNumbers.isEmpty(); }
    QString failedRecordsQuestion() const;
    QString successMessage() const;

private:
    void reset(const QString& category);
    bool extractNextRecord(); // true when no record was left

    TextModel& m_text;
    Database& m_db;
    RecordSet& m_table;
    std::unique_ptr<RecordSource> m_source;
    bool m_ended = false;
    QString m_category; // the setup's category as its holder keeps it
    QString m_entryDate; // today, as the records of this tick are entered
    ExtractionState m_state;
    qsizetype m_progress = 0;
    BatchTransaction m_batch;
    qint64 m_lastCommitMs = 0;
    QString m_failure;
};

} // namespace papyrant
