#pragma once
// "Export...": the whole result written to one citation file (RIS, BibTeX or CSL-JSON) in
// the result's order, in timer ticks. The records are read from the bibliography by the
// result's keys a batch at a time in the ticks, and written to the file by a worker thread,
// so an export of any length holds a few batches of records and the formatting runs beside
// the window; the file appears under its name only when it is complete (CitationExport).

#include "core/Prompts.h"
#include "core/Stepper.h"
#include "formats/CitationExport.h"

#include <QString>
#include <QStringDecoder>

#include <SQLiteCpp/Statement.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace papyrant {

class Database;
class RecordSet;

inline const QString ExportTitle = QStringLiteral("Export results");

// The export's file: the save dialog offers the three formats and proposes the
// bibliography's name; a file that exists is replaced only when the user agrees, else the
// dialog comes again. Nothing when the user cancelled.
std::optional<ChosenFile> chooseExportFile(Prompts& prompts, const QString& bibName);

// The current record of the set, its thirteen columns in column order. Throws StoreError.
RecordValues currentRecordValues(const RecordSet& records);

class ResultExport : public Stepper {
public:
    // Records read through db (the result's connection), by keys, in the keys' order.
    // Throws StoreError when the reading statement cannot be prepared.
    ResultExport(Database& db, std::vector<std::int64_t> keys, CitationFormat format, const QString& path);
    // An export neither finished nor failed stops its writer and leaves no file.
    ~ResultExport() override;
    ResultExport(const ResultExport&) = delete;
    ResultExport& operator=(const ResultExport&) = delete;

    // One tick: opens the file on the first, reads batches of records until the budget is
    // spent and hands them to the writer, a worker thread that turns them into the file's
    // bytes, writes them and, after the last record, puts the file in place. A tick
    // waits for the writer at most its own length. A failure (the folder, the disk, the
    // store) leaves no file; the reason is the system's or the engine's description.
    StepOutcome step(const TickBudget& budget) override;
    // Records written of all.
    StepProgress progress() const override { return {m_written.load(), static_cast<int>(m_keys.size())}; }

    // Records read per statement: few enough that a batch costs a fraction of a tick.
    static constexpr int BatchSize = 200;
    // Batches read and not yet written, at most: the reading stays this far ahead of the
    // writer, and the export holds no more records than these.
    static constexpr int BatchesAhead = 4;

private:
    struct Batch {
        std::vector<RecordValues> values; // kept from batch to batch: the values are decoded into their room
        std::vector<CitationRecord> records; // the values read for the writers, sharing their texts
        std::vector<bool> found; // false for a key whose record is gone
    };
    // Reads the records of the next keys into the batch, in key order, and cuts their
    // fields (names, source, lists) for the writers: the ticks do that share of the work,
    // the writer the rest.
    void readBatch(Batch& batch);
    // The writer thread's work.
    void writeBatches();
    void stopWriter();
    StepOutcome fail(const QString& reason);

    std::vector<std::int64_t> m_keys;
    std::unique_ptr<SQLite::Statement> m_read;
    QStringDecoder m_utf8{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};
    CitationExport m_file; // the writer's alone from the start of the thread to its end
    bool m_started = false;
    int m_keysRead = 0;
    QString m_failure;

    // Between the ticks and the writer, under m_lock.
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<std::unique_ptr<Batch>> m_full; // read, for the writer
    std::vector<std::unique_ptr<Batch>> m_empty; // written, for the next reading
    bool m_allRead = false;
    bool m_writerEnded = false;
    std::optional<QString> m_writeFailure;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_written{0}; // keys the writer has handled
    std::thread m_writer;
};

} // namespace papyrant
