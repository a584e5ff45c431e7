#include "core/RowRangeRun.h"

#include <QElapsedTimer>

#include <algorithm>
#include <limits>

namespace papyrant {
namespace {

constexpr qint64 RangeGrowBelowNs = 2'000'000;
constexpr qint64 RangeShrinkAboveNs = 6'000'000;
constexpr std::int64_t WidestRange = 1 << 20;

} // namespace

RowRangeRun::RowRangeRun(Database& db, const QString& statement, std::function<void(SQLite::Statement&)> bindMore,
    bool deletes, std::chrono::milliseconds commitInterval)
    : m_bindMore(std::move(bindMore))
    , m_cache(db)
    , m_batch(db, commitInterval)
{
    if (deletes)
        m_fastDeletion.emplace(db);
    storeCall([&] {
        SQLite::Statement bounds(db.handle(), "SELECT min(rowid), max(rowid) FROM Abstracts");
        if (bounds.executeStep() && !bounds.getColumn(0).isNull()) {
            m_low = bounds.getColumn(0).getInt64();
            m_high = bounds.getColumn(1).getInt64();
        } else {
            m_low = 1;
            m_high = 0; // nothing to cover
        }
        m_statement = std::make_unique<SQLite::Statement>(db.handle(), statement.toStdString());
        return 0;
    });
    m_first = m_committedFirst = m_low;
}

RowRangeRun::~RowRangeRun()
{
    m_batch.rollback();
}

StepProgress RowRangeRun::progress() const
{
    const std::int64_t span = std::max<std::int64_t>(m_high - m_low + 1, 1);
    const std::int64_t scale = span / std::numeric_limits<int>::max() + 1;
    const std::int64_t covered = std::clamp<std::int64_t>(m_first - m_low, 0, span);
    return {static_cast<int>(covered / scale), static_cast<int>(span / scale)};
}

void RowRangeRun::noteCommitted()
{
    m_committedFirst = m_first;
    m_changed += m_pendingChanged;
    m_pendingChanged = 0;
}

StepOutcome RowRangeRun::step(const TickBudget& budget)
{
    if (!m_error.isEmpty())
        return StepOutcome::failed(m_error);
    try {
        if (m_batch.committing()) {
            if (!m_batch.commitEnded(budget.remainingMs()))
                return StepOutcome::more();
            noteCommitted();
            if (m_first > m_high)
                return StepOutcome::done();
            if (budget.spent())
                return StepOutcome::more();
        }
        m_batch.begin();
        QElapsedTimer clock;
        while (m_first <= m_high) {
            const std::int64_t last = m_high - m_first < m_width ? m_high : m_first + m_width - 1;
            clock.start();
            StatementUse use(*m_statement);
            m_statement->bind(1, static_cast<int64_t>(m_first));
            m_statement->bind(2, static_cast<int64_t>(last));
            if (m_bindMore)
                m_bindMore(*m_statement);
            m_pendingChanged += m_statement->exec();
            const qint64 took = clock.nsecsElapsed();
            m_first = last + 1;
            if (took < RangeGrowBelowNs)
                m_width = std::min(WidestRange, m_width * 2);
            else if (took > RangeShrinkAboveNs)
                m_width = std::max<std::int64_t>(1, m_width / 2);
            if (budget.spent())
                break;
        }
        const bool finishing = m_first > m_high;
        if (m_batch.commitsAside() && (finishing || m_batch.due())) {
            m_batch.startCommit();
            return StepOutcome::more(); // done once the commit has ended
        }
        if (m_batch.commitIfDue(finishing))
            noteCommitted();
    } catch (const std::exception& e) {
        m_batch.rollback();
        m_first = m_committedFirst;
        m_pendingChanged = 0;
        m_error = errorText(e);
        return StepOutcome::failed(m_error);
    }
    return m_first <= m_high ? StepOutcome::more() : StepOutcome::done();
}

} // namespace papyrant
