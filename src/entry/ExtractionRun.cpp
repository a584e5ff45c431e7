#include "entry/ExtractionRun.h"

#include "core/Clock.h"
#include "core/Database.h"
#include "core/RecordSet.h"
#include "entry/ManualEntry.h"

#include <QElapsedTimer>

#include <algorithm>
#include <climits>
#include <cmath>

namespace papyrant {

int extractionHolderLimit(int column)
{
    switch (column) {
    case Publishing_year:
    case Publication_type:
    case Language: return 100;
    case TitelS: return 250;
    case Entry_Date:
    case Category:
    case Personal: return 50;
    default: return INT_MAX;
    }
}

QString extractedValue(const QString& cut, int column)
{
    return heldOrMarker(cut, extractionHolderLimit(column));
}

ExtractionRun::ExtractionRun(TextModel& text, Database& db, RecordSet& table, std::chrono::milliseconds commitInterval)
    : m_text(text)
    , m_db(db)
    , m_table(table)
    , m_batch(db, commitInterval)
{
}

std::optional<StartRefusal> ExtractionRun::start(const ExtractionSetup& setup)
{
    m_state = ExtractionState{};
    m_progress = 0;
    m_failure.clear();
    m_setup = setup;
    m_category = holdText(setup.category, extractionHolderLimit(Category));
    const int f = setup.firstField;
    m_state.FirstLabel = setup.startLabels[f];
    if (setup.startLabels[f].isEmpty())
        return StartRefusal{QStringLiteral("Please set the word which exist before first record"), f, false};
    if (setup.endLabels[f].isEmpty())
        return StartRefusal{QStringLiteral("Please set the word which exist after first record"), f, true};
    return std::nullopt;
}

StepOutcome ExtractionRun::step(const TickBudget& budget)
{
    if (!m_failure.isEmpty())
        return StepOutcome::failed(m_failure);
    if (ended())
        return StepOutcome::done();
    // A tick that ends in a commit keeps as long as the last commit took (up to half the
    // tick) free for it, so a slow disk makes ticks smaller, not longer.
    const qint64 reserve = m_batch.due(budget.lengthMs()) ? std::min<qint64>(m_lastCommitMs, budget.lengthMs() / 2) : 0;
    // Every record of a tick is entered on the same day.
    m_entryDate = extractedValue(todayText(), Entry_Date);
    try {
        m_batch.begin();
        while (!extractNextRecord() && !budget.spent(reserve)) { }
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
    m_progress = m_text.selStart();

    m_text.find(s.FirstLabel, s.RecordStart);
    s.RecordStart = m_text.selStart();
    // The next record's label must begin at least one character after this one's.
    m_text.find(s.FirstLabel, m_text.selStart() + m_text.selLength() + 1);
    s.RecordEnd = m_text.selStart();
    if (s.RecordStart == s.RecordEnd)
        ++s.EndPhase;
    if (s.EndPhase == 2)
        return true;
    if (s.EndPhase == 1)
        s.RecordEnd = m_text.length();

    std::array<QString, ColumnCount> row;
    for (int i = 0; i < LabelFieldCount; ++i) {
        if (!cutField(i, row)) {
            s.RecordFailed = true;
            break;
        }
    }
    if (!s.RecordFailed) {
        row[Entry_Date] = m_entryDate;
        row[Category] = m_category;
        row[Personal] = EmptyFieldMarker;
        addRecord(m_table, row);
    } else {
        s.RecordFailed = false;
        s.FailedNumbers += QStringLiteral("  ") + QString::number(s.RecordCounter);
        m_text.select(s.RecordStart, s.RecordEnd - s.RecordStart);
        s.FailedTexts += m_text.selectedText();
    }
    s.RecordStart = s.RecordEnd;
    return false;
}

bool ExtractionRun::cutField(int field, std::array<QString, ColumnCount>& row)
{
    ExtractionState& s = m_state;
    const QString& startLabel = m_setup.startLabels[field];
    const QString& endLabel = m_setup.endLabels[field];
    if (startLabel.isEmpty() || endLabel.isEmpty()) {
        row[field] = EmptyFieldMarker;
    } else {
        // Both labels are searched from the record's start; a label not found leaves the
        // selection of the previous search in force.
        m_text.find(startLabel, s.RecordStart, s.RecordEnd);
        s.FieldStart = m_text.selStart() + m_text.selLength();
        m_text.find(endLabel, s.RecordStart, s.RecordEnd);
        s.FieldEnd = m_text.selStart();
        m_text.setSelStart(s.FieldStart);
        if (s.FieldEnd <= s.FieldStart)
            return false;
        m_text.setSelLength(s.FieldEnd - s.FieldStart);
        row[field] = extractedValue(m_text.selectedText(), field);
    }
    if (field == Title)
        row[TitelS] = holdText(row[Title], extractionHolderLimit(TitelS));
    return true;
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
