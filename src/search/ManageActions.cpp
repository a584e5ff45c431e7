#include "search/ManageActions.h"

#include "core/DataBinding.h"
#include "core/ProgramState.h"
#include "core/Prompts.h"
#include "screens/TickDriver.h"
#include "search/ManageTab.h"
#include "search/ResultCategory.h"
#include "search/ResultCopy.h"
#include "search/ResultDeletion.h"
#include "search/ResultsState.h"

namespace papyrant {

ManageActions::ManageActions(
    ManageTab& tab, DataBinding& results, const ResultsState& state, TickDriver& ticks, QObject* parent)
    : QObject(parent)
    , m_tab(tab)
    , m_results(results)
    , m_state(state)
    , m_ticks(ticks)
{
    connect(&tab, &ManageTab::assignRequested, this, &ManageActions::assignCategory);
    connect(&tab, &ManageTab::copyRequested, this, &ManageActions::copyResults);
    connect(&tab, &ManageTab::deleteAllRequested, this, &ManageActions::deleteAll);
}

ManageActions::~ManageActions() = default;

void ManageActions::assignCategory()
{
    if (!m_results.hasRecordset())
        return;
    const QString category = m_tab.categoryText();
    try {
        putResultsIntoCategory(m_results, category);
    } catch (const std::exception& error) {
        prompts().notice(QStringLiteral("The results could not be put into the category.\n") + errorText(error));
        return;
    }
    m_tab.hideHint();
    emit categoryAssigned(category);
}

void ManageActions::copyResults()
{
    if (!m_results.hasRecordset() || m_ticks.running())
        return;
    m_copy = startResultCopy(prompts(), programState(), m_results.database().path(), m_results.recordset());
    if (!m_copy)
        return;
    m_tab.showProgress(m_copy->progressText());
    m_ticks.start(
        *m_copy, {m_tab.progressBar(), QString(), {}, [this](const StepOutcome& outcome) { copyEnded(outcome); }});
}

void ManageActions::copyEnded(const StepOutcome&)
{
    // What reached the target, also when a batch failed.
    m_tab.showOutcome(m_copy->outcomeText());
    m_copy.reset(); // the target is closed
}

void ManageActions::deleteAll()
{
    if (!m_results.hasRecordset() || m_ticks.running() || !askDeleteAllResults(prompts(), m_state.ResultCount))
        return;
    try {
        m_deletion = std::make_unique<ResultDeletion>(m_results.database(), m_results.recordset().rowKeys());
    } catch (const std::exception& error) {
        reportWorkFailure(QString(), errorText(error));
        return;
    }
    m_tab.showProgress(DeletingRecordsText);
    m_ticks.start(*m_deletion,
        {m_tab.progressBar(), QString(), {}, [this](const StepOutcome& outcome) { deletionEnded(outcome); }});
}

void ManageActions::deletionEnded(const StepOutcome& outcome)
{
    const int deleted = m_deletion->total() - m_deletion->remaining();
    m_deletion.reset();
    m_tab.showOutcome(outcome.kind == StepOutcome::Kind::Done
            ? RecordsDeletedText
            : QString::number(deleted) + QStringLiteral(" records were deleted"));
    // The set still holds the keys of the deleted records.
    emit recordsDeleted();
}

} // namespace papyrant
