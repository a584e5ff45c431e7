#include "maintenance/AutoRemoveRun.h"

namespace papyrant {

AutoRemoveRun::AutoRemoveRun(Database& db, const FieldFlags& selected)
    : m_db(db)
    , m_fastDeletion(db)
    , m_selected(selected)
    , m_scan(m_db)
{
    m_progressMaximum = m_scan.records().recordCount() + 2;
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
    // The earlier record goes; the later one is current again and meets its own successor
    // in the next step.
    records.movePrevious();
    records.deleteCurrent();
    records.moveNext();
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
