#include "maintenance/AutoRemoveRun.h"

namespace papyrant {

AutoRemoveRun::AutoRemoveRun(Database& db, const FieldFlags& selected)
    : m_db(mappedForScanning(db))
    , m_selected(selected)
    , m_records(m_db, ScanStatement)
{
    m_records.moveFirst();
    m_progressMaximum = m_records.recordCount() + 2;
}

bool AutoRemoveRun::step(const TickBudget& budget)
{
    if (m_finished)
        return true;
    Tally tally;
    Database::Transaction tick(m_db);
    do {
        scanStep(tally);
    } while (!m_finished && !budget.spent());
    tick.commit();
    m_deleted += tally.deleted;
    m_notCovered += tally.notCovered;
    return m_finished;
}

void AutoRemoveRun::scanStep(Tally& tally)
{
    ++m_progress;
    if (m_records.eof()) {
        m_finished = true;
        return;
    }
    // The record left current by the last step was read there; the very first is read now.
    if (!m_currentRead) {
        m_current = normalisedFields(m_records);
        m_currentRead = true;
    }
    const FieldValues first = m_current;
    m_records.moveNext();
    if (m_records.eof())
        return;
    m_current = normalisedFields(m_records);
    if (m_current[Title] != first[Title])
        return;
    if (differInSelected(first, m_current, m_selected)) {
        ++tally.notCovered;
        return;
    }
    // The earlier record goes; the later one is current again and meets its own successor
    // in the next step.
    m_records.movePrevious();
    m_records.deleteCurrent();
    m_records.moveNext();
    ++tally.deleted;
}

QString AutoRemoveRun::report() const
{
    return autoRemoveReport(m_deleted, m_notCovered);
}

QString AutoRemoveRun::failureReport(const QString& engineText) const
{
    return autoRemoveFailure(engineText, m_deleted);
}

QString autoRemoveFailure(const QString& engineText, std::int64_t deleted)
{
    QString text = QStringLiteral("Auto remove could not finish") + QLatin1Char('\n') + engineText;
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
