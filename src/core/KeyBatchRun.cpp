#include "core/KeyBatchRun.h"

#include <QElapsedTimer>

#include <algorithm>

namespace papyrant {
namespace {

// A slice should take a few milliseconds: long enough that the engine's set-up per call
// vanishes, short enough that several fit in a tick.
constexpr qint64 SliceGrowBelowNs = 2'000'000;
constexpr qint64 SliceShrinkAboveNs = 6'000'000;
constexpr std::size_t LongestSlice = 16384;

} // namespace

KeyBatchRun::KeyBatchRun(Database& db, std::vector<std::int64_t> keys, const QString& statement,
    const QString& condition, StaleTest stale, std::function<void()> ownWrites,
    std::function<void(SQLite::Statement&)> bindMore, std::chrono::milliseconds commitInterval)
    : m_db(db)
    , m_keys(std::move(keys))
    , m_statement(statement)
    , m_condition(condition)
    , m_stale(std::move(stale))
    , m_ownWrites(std::move(ownWrites))
    , m_bindMore(std::move(bindMore))
    , m_batch(db, commitInterval)
{
    statementFor(false);
}

KeyBatchRun::~KeyBatchRun()
{
    m_batch.rollback();
}

SQLite::Statement& KeyBatchRun::statementFor(bool stale)
{
    std::unique_ptr<SQLite::Statement>& slot = stale ? m_checked : m_trusted;
    if (!slot) {
        const QString test = stale && !m_condition.trimmed().isEmpty()
            ? QStringLiteral(" AND (") + m_condition + QLatin1Char(')')
            : QString();
        slot = storeCall(
            [&] { return std::make_unique<SQLite::Statement>(m_db.handle(), m_statement.arg(test).toStdString()); });
    }
    return *slot;
}

void KeyBatchRun::noteCommitted()
{
    m_committedNext = m_next;
    m_changed += m_pendingChanged;
    m_skipped += m_pendingSkipped;
    m_pendingChanged = m_pendingSkipped = 0;
}

StepOutcome KeyBatchRun::step(const TickBudget& budget)
{
    if (!m_error.isEmpty())
        return StepOutcome::failed(m_error);
    try {
        if (m_batch.committing()) {
            if (!m_batch.commitEnded(budget.remainingMs()))
                return StepOutcome::more();
            noteCommitted();
            if (m_next >= m_keys.size())
                return StepOutcome::done();
            if (budget.spent())
                return StepOutcome::more();
        }
        m_batch.begin();
        // Inside the transaction, so nothing else commits between the answer and the slices.
        SQLite::Statement& statement = statementFor(m_stale && m_stale());
        const bool checked = &statement == m_checked.get();
        QElapsedTimer clock;
        while (m_next < m_keys.size()) {
            const std::size_t end = std::min(m_keys.size(), m_next + m_sliceLength);
            m_slice.assign(1, '[');
            for (std::size_t i = m_next; i < end; ++i) {
                if (i > m_next)
                    m_slice += ',';
                m_slice += std::to_string(m_keys[i]);
            }
            m_slice += ']';
            clock.start();
            StatementUse use(statement);
            statement.bindNoCopy(1, m_slice);
            if (m_bindMore)
                m_bindMore(statement);
            const int rows = statement.exec();
            const qint64 took = clock.nsecsElapsed();
            m_pendingChanged += rows;
            // A copy or an update changes one row per key that still matches; so does a
            // deletion, whatever triggers another tool may have added do elsewhere.
            if (checked)
                m_pendingSkipped += static_cast<std::int64_t>(end - m_next) - rows;
            m_next = end;
            if (took < SliceGrowBelowNs)
                m_sliceLength = std::min(LongestSlice, m_sliceLength * 2);
            else if (took > SliceShrinkAboveNs)
                m_sliceLength = std::max<std::size_t>(1, m_sliceLength / 2);
            if (budget.spent())
                break;
        }
        if (m_ownWrites)
            m_ownWrites();
        const bool finishing = m_next >= m_keys.size();
        if (m_batch.commitsAside() && (finishing || m_batch.due())) {
            m_batch.startCommit();
            return StepOutcome::more(); // done once the commit has ended
        }
        if (m_batch.commitIfDue(finishing))
            noteCommitted();
    } catch (const std::exception& e) {
        m_batch.rollback();
        m_next = m_committedNext;
        m_pendingChanged = m_pendingSkipped = 0;
        m_error = errorText(e);
        return StepOutcome::failed(m_error);
    }
    return m_next < m_keys.size() ? StepOutcome::more() : StepOutcome::done();
}

} // namespace papyrant
