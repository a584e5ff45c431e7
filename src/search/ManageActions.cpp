#include "search/ManageActions.h"

#include "core/DataBinding.h"
#include "core/ProgramState.h"
#include "core/Prompts.h"
#include "search/ManageTab.h"
#include "search/ReportForm.h"
#include "search/ResultCategory.h"
#include "search/ResultCopy.h"
#include "search/ResultDeletion.h"

namespace papyrant {

ManageActions::ManageActions(ReportForm& form)
    : QObject(&form)
    , m_form(form)
{
    ManageTab* tab = form.manageTab();
    connect(tab, &ManageTab::assignRequested, this, &ManageActions::assignCategory);
    connect(tab, &ManageTab::newCategoryRequested, this, &ManageActions::newCategory);
    connect(tab, &ManageTab::copyRequested, this, &ManageActions::copyResults);
    connect(tab, &ManageTab::deleteAllRequested, this, &ManageActions::deleteAll);
}

ManageActions::~ManageActions() = default;

void ManageActions::assignCategory()
{
    if (!m_form.resultSet())
        return;
    const QString category = m_form.manageTab()->categoryText();
    try {
        putResultsIntoCategory(m_form.resultsBinding(), category);
    } catch (const std::exception& error) {
        prompts().notice(QStringLiteral("The results could not be put into the category.\n") + errorText(error));
        return;
    }
    m_form.manageTab()->hideHint();
    m_form.categoryAssigned(category);
}

void ManageActions::newCategory()
{
    const QString name = m_form.addNewCategory();
    if (!name.isEmpty())
        m_form.manageTab()->chooseCategory(name);
}

void ManageActions::copyResults()
{
    const RecordSet* results = m_form.resultSet();
    if (!results || running())
        return;
    m_copy = startResultCopy(prompts(), programState(), m_form.bibliography(), *results);
    if (!m_copy)
        return;
    m_form.busy().enter();
    ManageTab* tab = m_form.manageTab();
    tab->showProgress(m_copy->progressText(), m_copy->CopyTotal);
    m_timer.start([this](const TickBudget& budget) { return m_copy->step(budget); },
        [this, tab] { tab->setProgress(m_copy->processed()); }, [this](BatchState state) { copyEnded(state); });
}

void ManageActions::copyEnded(BatchState state)
{
    // What reached the target, also when a batch failed.
    m_form.manageTab()->showOutcome(m_copy->outcomeText());
    const QString error = m_copy->error();
    m_copy.reset(); // the target is closed
    m_form.busy().leave();
    if (state == BatchState::Failed)
        prompts().notice(error);
}

void ManageActions::deleteAll()
{
    RecordSet* results = m_form.resultSet();
    if (!results || running() || !askDeleteAllResults(prompts(), m_form.resultsState().ResultCount))
        return;
    m_form.busy().enter();
    try {
        m_deletion = std::make_unique<ResultDeletion>(m_form.resultsBinding().database(), results->rowKeys());
    } catch (const std::exception& error) {
        m_form.busy().leave();
        prompts().notice(errorText(error));
        return;
    }
    ManageTab* tab = m_form.manageTab();
    tab->showProgress(DeletingRecordsText, m_deletion->total());
    m_timer.start([this](const TickBudget& budget) { return m_deletion->step(budget); },
        [this, tab] { tab->setProgress(m_deletion->total() - m_deletion->remaining()); },
        [this](BatchState state) { deletionEnded(state); });
}

void ManageActions::deletionEnded(BatchState state)
{
    const int deleted = m_deletion->total() - m_deletion->remaining();
    const QString error = m_deletion->error();
    m_deletion.reset();
    m_form.manageTab()->showOutcome(state == BatchState::Finished
            ? RecordsDeletedText
            : QString::number(deleted) + QStringLiteral(" records were deleted"));
    // The set still holds the keys of the deleted records.
    m_form.reloadResults();
    m_form.busy().leave();
    if (state == BatchState::Failed)
        prompts().notice(error);
}

} // namespace papyrant
