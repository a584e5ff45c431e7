#include "entry/ExtractionRun.h"

#include "core/Clock.h"
#include "core/Database.h"
#include "core/RecordSet.h"
#include "entry/LabelCut.h"
#include "entry/ManualEntry.h"

#include <QElapsedTimer>

#include <algorithm>
#include <climits>
#include <cmath>

namespace papyrant {

ExtractionRun::ExtractionRun(TextModel& text, Database& db, RecordSet& table, std::chrono::milliseconds commitInterval)
    : m_text(text)
    , m_db(db)
    , m_table(table)
    , m_batch(db, commitInterval)
{
}

void ExtractionRun::reset(const QString& category)
{
    m_state = ExtractionState{};
    m_ended = false;
    m_progress = 0;
    m_failure.clear();
    m_source.reset();
    m_category = holdText(category, extractionHolderLimit(Category));
}

std::optional<StartRefusal> ExtractionRun::start(const ExtractionSetup& setup)
{
    reset(setup.category);
    const int f = setup.firstField;
    if (setup.startLabels[f].isEmpty())
        return StartRefusal{QStringLiteral("Please set the word which exist before first record"), f, false};
    if (setup.endLabels[f].isEmpty())
        return StartRefusal{QStringLiteral("Please set the word which exist after first record"), f, true};
    m_source = std::make_unique<LabelCut>(m_text, setup.startLabels, setup.endLabels, f);
    return std::nullopt;
}

void ExtractionRun::start(std::unique_ptr<RecordSource> source, const QString& category)
{
    reset(category);
    m_source = std::move(source);
}

StepOutcome ExtractionRun::step(const TickBudget& budget)
{
    if (!m_failure.isEmpty())
        return StepOutcome::failed(m_failure);
    try {
        // A commit handed aside in an earlier tick: this tick waits for it at most its own length.
        if (m_batch.committing()) {
            if (!m_batch.commitEnded(budget.remainingMs()))
                return StepOutcome::more();
            if (!ended() && budget.spent())
                return StepOutcome::more();
        }
    } catch (const std::exception& error) {
        // The batch was rolled back; the records committed before it are kept.
        m_failure = errorText(error);
        return StepOutcome::failed(m_failure);
    }
    if (ended() || !m_source)
        return StepOutcome::done();
    // A tick that ends in a commit keeps as long as the last commit took (up to half the
    // tick) free for it, so a slow disk makes ticks smaller, not longer.
    const qint64 reserve = m_batch.due(budget.lengthMs()) ? std::min<qint64>(m_lastCommitMs, budget.lengthMs() / 2) : 0;
    // Every record of a tick is entered on the same day.
    m_entryDate = extractedValue(todayText(), Entry_Date);
    try {
        m_batch.begin();
        while (!extractNextRecord() && !budget.spent(reserve)) { }
        // The commit's disk syncs can take far longer than a tick: they run aside and the
        // following ticks wait for them, so the window never waits on the disk.
        if (m_batch.commitsAside() && (ended() || m_batch.due())) {
            m_batch.startCommit();
            return StepOutcome::more(); // done once the commit has ended
        }
        QElapsedTimer commit;
        commit.start();
        if (m_batch.commitIfDue(ended()))
            m_lastCommitMs = commit.elapsed();
    } catch (const std::exception& error) {
        // The row that failed was never written; the records finished before it are kept.
        m_table.cancelUpdate();
        try {
            m_batch.commitIfDue(true);
        } catch (const std::exception&) {
            m_batch.rollback();
        }
        m_failure = errorText(error);
        return StepOutcome::failed(m_failure);
    }
    return ended() ? StepOutcome::done() : StepOutcome::more();
}

bool ExtractionRun::extractNextRecord()
{
    ExtractionState& s = m_state;
    ++s.RecordCounter;
    m_progress = m_source->position();
    std::array<QString, ColumnCount> row;
    switch (m_source->next(row, s.FailedTexts)) {
    case RecordSource::Next::NoneLeft: m_ended = true; return true;
    case RecordSource::Next::Failed: s.FailedNumbers += QStringLiteral("  ") + QString::number(s.RecordCounter); break;
    case RecordSource::Next::Record:
        row[Entry_Date] = m_entryDate;
        row[Category] = m_category;
        row[Personal] = EmptyFieldMarker;
        addRecord(m_table, row);
        break;
    }
    return false;
}

void ExtractionRun::finish()
{
    m_text.setSelStart(0);
}

int ExtractionRun::progressMaximum() const
{
    return std::max(1, int(std::ceil(m_text.length() / 1000.0)));
}

QString ExtractionRun::failedRecordsQuestion() const
{
    return QStringLiteral("The following record/s couldn't be extracted\nRecords: ") + m_state.FailedNumbers
        + QStringLiteral("\nThey may contain miss text\nDo you want to use manual adding to add these records?");
}

QString ExtractionRun::successMessage() const
{
    return QString::number(m_state.RecordCounter - 1) + QStringLiteral(" records were added successfully");
}

} // namespace papyrant
