#pragma once
// "Export...": the whole result written to one citation file (RIS, BibTeX or CSL-JSON) in
// the result's order, in timer ticks. The records are read from the bibliography by the
// result's keys a batch at a time, so an export of any length holds one batch of records;
// the file appears under its name only when it is complete (CitationExport).

#include "core/Prompts.h"
#include "core/Stepper.h"
#include "formats/CitationExport.h"

#include <QString>

#include <SQLiteCpp/Statement.h>

#include <cstdint>
#include <memory>
#include <optional>
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
    ~ResultExport() override;
    ResultExport(const ResultExport&) = delete;
    ResultExport& operator=(const ResultExport&) = delete;

    // One tick: opens the file on the first, writes records until the budget is spent,
    // and puts the file in place after the last record. A failure (the folder, the disk,
    // the store) leaves no file; the reason is the system's or the engine's description.
    StepOutcome step(const TickBudget& budget) override;
    // Records written of all.
    StepProgress progress() const override { return {m_next, static_cast<int>(m_keys.size())}; }

    // Records read per statement: few enough that a batch costs a fraction of a tick.
    static constexpr int BatchSize = 200;

private:
    // Reads the records of the next keys into m_batch, in key order; a key whose record
    // is gone is passed over.
    void readBatch();
    StepOutcome fail(const QString& reason);

    std::vector<std::int64_t> m_keys;
    std::unique_ptr<SQLite::Statement> m_read;
    CitationExport m_file;
    bool m_started = false;
    int m_next = 0; // keys handled
    std::vector<std::optional<RecordValues>> m_batch; // the records of the keys from m_batchStart
    int m_batchStart = 0;
    QString m_failure;
};

} // namespace papyrant
