#include "maintenance/AutoRemoveRun.h"

namespace papyrant {

const QString AutoRemoveFailure = QStringLiteral("Auto remove could not finish");

AutoRemoveRun::AutoRemoveRun(Database& db, const FieldFlags& selected, std::chrono::milliseconds commitInterval)
    : m_fastDeletion(db)
    , m_batch(db, commitInterval)
    , m_selected(selected)
    , m_scan(db)
{
    m_progressMaximum = m_scan.records().recordCount() + 2;
}

StepOutcome AutoRemoveRun::step(const TickBudget& budget)
{
    if (!m_failure.isEmpty())
        return StepOutcome::failed(m_failure);
    if (m_finished)
        return StepOutcome::done();
    try {
        m_batch.begin();
        do {
            scanStep(m_uncommitted);
        } while (!m_finished && !budget.spent());
        if (m_batch.commitIfDue(m_finished)) {
            m_deleted += m_uncommitted.deleted;
            m_notCovered += m_uncommitted.notCovered;
            m_uncommitted = {};
        }
    } catch (const std::exception& error) {
        // The key list has lost the keys of the undone deletions, so the run ends here.
        m_batch.rollback();
        m_uncommitted = {};
        m_failure = autoRemoveFailureReason(errorText(error), m_deleted);
        return StepOutcome::failed(m_failure);
    }
    return m_finished ? StepOutcome::done() : StepOutcome::more();
}

void AutoRemoveRun::scanStep(Tally& tally)
{
    ++m_progress;
    RecordSet& records = m_scan.records();
    if (records.eof()) {
        m_finished = true;
        return;
    }
    if (!m_scan.moveNextMayPair())
        return;
    records.movePrevious();
    const FieldValues first = normalisedFields(records);
    records.moveNext();
    const FieldValues second = normalisedFields(records);
    if (second[Title] != first[Title])
        return;
    if (differInSelected(first, second, m_selected)) {
        ++tally.notCovered;
        return;
    }
    if (holdsOwnWork(first) && !holdsOwnWork(second)) {
        // Only the earlier record holds what the user wrote into it: the later one goes, and
        // the earlier meets the later one's successor in the next step.
        records.deleteCurrent();
        records.movePrevious();
    } else {
        // The earlier record goes; the later one is current again and meets its own
        // successor in the next step.
        records.movePrevious();
        records.deleteCurrent();
        records.moveNext();
    }
    ++tally.deleted;
}

bool holdsOwnWork(const FieldValues& record)
{
    const QString& personal = record[Personal];
    const QString& category = record[Category];
    return !(personal.isEmpty() || isEmptyField(personal))
        || !(category.isEmpty() || isEmptyField(category) || category.compare(NoCategory, Qt::CaseInsensitive) == 0);
}

QString AutoRemoveRun::report() const
{
    return autoRemoveReport(m_deleted, m_notCovered);
}

QString autoRemoveFailureReason(const QString& engineText, std::int64_t deleted)
{
    QString text = engineText;
    if (deleted > 0)
        text += QStringLiteral("\nPapyrant deleted %1 similar records").arg(deleted);
    return text;
}

QString autoRemoveReport(std::int64_t deleted, std::int64_t notCovered)
{
    QString text;
    if (deleted > 0)
        text += QStringLiteral("Papyrant deleted %1 similar records\n").arg(deleted);
    if (notCovered > 0)
        text += QStringLiteral("You still have %1 records appear to be similar but not cover your conditions to be "
                               "deleted")
                    .arg(notCovered);
    if (deleted == 0 && notCovered == 0)
        text = QStringLiteral("Papyrant detect no similar records");
    return text;
}

} // namespace papyrant
