#include "search/SearchRun.h"

#include "core/DataBinding.h"
#include "core/SplitScan.h"

#include <QRegularExpression>

#include <algorithm>

namespace papyrant {

SearchOutcome runSearchStatement(DataBinding& binding, const QString& statement)
{
    const QString previousSource = binding.recordSource();
    binding.setRecordSource(statement);
    binding.setScanConnections(scanConnectionCount());
    SearchOutcome outcome;
    try {
        outcome.recordCount = binding.refresh().recordCount();
        outcome.accepted = true;
    } catch (const std::exception& error) {
        // The record set of the previous search is still open in the binding; its source
        // goes back too, so a later refresh re-runs what the user is looking at.
        binding.setRecordSource(previousSource);
        outcome.engineError = errorText(error);
    }
    return outcome;
}

SearchJob::SearchJob(Database& db, QString statement, std::optional<QString> prefilter)
    : m_db(db)
    , m_statement(std::move(statement))
    , m_prefilter(std::move(prefilter))
{
}

StepOutcome SearchJob::step(const TickBudget& budget)
{
    if (m_stopped)
        return StepOutcome::done();
    try {
        if (!m_started) {
            m_started = true;
            // Taken before the keys are read: a change in between makes them stale, never wrong.
            m_stamp = m_db.changeStamp();
            static const QRegularExpression wholeRows(
                QStringLiteral(R"(^\s*select\s+Abstracts\.\*\s+from\s+Abstracts(\s+where\b.*)$)"),
                QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
            if (const auto m = wholeRows.match(m_statement); m.hasMatch())
                m_scan = SplitScan::start(
                    m_db, QStringLiteral("Abstracts"), m.captured(1), scanConnectionCount(), m_prefilter);
            if (!m_scan) {
                m_result = std::make_unique<RecordSet>(m_db, m_statement);
                return StepOutcome::done();
            }
            return StepOutcome::more();
        }
        const auto left = std::max<qint64>(1, budget.lengthMs() / 2);
        if (!m_scan->finished(std::chrono::milliseconds(left)))
            return StepOutcome::more();
        if (m_scan->stopped()) {
            m_stopped = true;
            return StepOutcome::done();
        }
        if (auto keys = m_scan->keys()) {
            m_result = std::make_unique<RecordSet>(m_db, m_statement, std::move(*keys), m_stamp);
        } else {
            m_scan.reset();
            m_result = std::make_unique<RecordSet>(m_db, m_statement);
        }
        m_scan.reset();
        return StepOutcome::done();
    } catch (const std::exception& error) {
        m_scan.reset();
        return StepOutcome::failed(errorText(error));
    }
}

StepProgress SearchJob::progress() const
{
    if (!m_scan)
        return {};
    return {m_scan->rangesDone(), m_scan->rangeCount()};
}

void SearchJob::stop()
{
    if (m_scan)
        m_scan->stop();
    m_stopped = true;
}

SearchOutcome adoptSearchResult(DataBinding& binding, SearchJob& job, const StepOutcome& outcome)
{
    SearchOutcome adopted;
    if (outcome.kind == StepOutcome::Kind::Failed) {
        adopted.engineError = outcome.reason;
        return adopted;
    }
    std::unique_ptr<RecordSet> result = job.takeResult();
    if (!result)
        return adopted;
    adopted.recordCount = result->recordCount();
    adopted.accepted = true;
    binding.adopt(job.statement(), std::move(result));
    return adopted;
}

QString refusedSearchMessage(const QString& engineError)
{
    return QStringLiteral("The search could not be run.\n") + engineError;
}

} // namespace papyrant
