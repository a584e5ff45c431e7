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

const QString CategoryFailure = QStringLiteral("The results could not be put into the category.");

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
    if (!m_results.hasRecordset() || m_ticks.running())
        return;
    const QString category = m_tab.categoryText();
    try {
        m_category
            = std::make_unique<ResultCategoryRun>(m_results.database(), m_results.recordset().resultKeys(), category);
    } catch (const std::exception& error) {
        reportWorkFailure(CategoryFailure, errorText(error));
        return;
    }
    m_tab.hideHint();
    m_tab.showProgress(QStringLiteral("Putting ") + QString::number(m_category->progress().total)
        + QStringLiteral(" records into category ") + category);
    m_ticks.start(*m_category,
        {m_tab.progressBar(), CategoryFailure, {}, [this, category](const StepOutcome&) { categoryEnded(category); }});
}

void ManageActions::categoryEnded(const QString& category)
{
    m_category->settle(m_results.recordset());
    const std::int64_t changed = m_category->changed();
    const std::int64_t skipped = m_category->skipped();
    m_category.reset();
    m_tab.showOutcome(QString::number(changed) + QStringLiteral(" records were put into category ") + category);
    reportSkipped(skipped);
    emit categoryAssigned(category);
}

void ManageActions::copyResults()
{
    if (!m_results.hasRecordset() || m_ticks.running())
        return;
    m_copy = startResultCopy(prompts(), programState(), m_results.database(), m_results.recordset());
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
    const std::int64_t skipped = m_copy->skipped();
    m_copy.reset(); // the target is closed
    reportSkipped(skipped);
}

void ManageActions::deleteAll()
{
    if (!m_results.hasRecordset() || m_ticks.running() || !askDeleteAllResults(prompts(), m_state.ResultCount))
        return;
    try {
        m_deletion = std::make_unique<ResultDeletion>(m_results.database(), m_results.recordset().resultKeys());
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
    const std::int64_t deleted = m_deletion->deleted();
    const std::int64_t skipped = m_deletion->skipped();
    m_deletion.reset();
    m_tab.showOutcome(outcome.kind == StepOutcome::Kind::Done && skipped == 0
            ? RecordsDeletedText
            : QString::number(deleted) + QStringLiteral(" records were deleted"));
    reportSkipped(skipped);
    // The set still holds the keys of the deleted records.
    emit recordsDeleted();
}

void ManageActions::reportSkipped(std::int64_t skipped)
{
    if (skipped > 0)
        prompts().notice(skippedRecordsText(skipped));
}

} // namespace papyrant
