#include "search/ReportForm.h"

#include "core/Bibliography.h"
#include "core/Captions.h"
#include "core/CommonPrompts.h"
#include "core/Prompts.h"
#include "help/HelpOpener.h"
#include "options/OptionForm.h"
#include "screens/WindowPlacement.h"
#include "search/CriteriaGrid.h"
#include "search/EditTab.h"
#include "search/ManageActions.h"
#include "search/ManageTab.h"
#include "search/OutputActions.h"
#include "search/ReportToolBar.h"
#include "search/ResultEditing.h"
#include "search/ResultExport.h"
#include "search/ResultsTab.h"
#include "search/SearchRun.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace papyrant {

namespace {

// The help page of each tab.
const char* const HelpPages[] = {"/Hsearch1S.htm", "/Hsearch2R.htm", "/HSearch3E.htm", "/Hsearch4M.htm"};

} // namespace

ReportForm::ReportForm(Bibliography& bibliography, QWidget* parent)
    : WorkingScreen(ScreenKind::SearchResults, bibliography, parent)
    , m_binding(bibliography)
    , m_toolBar(new ReportToolBar(this))
    , m_tabs(new QTabWidget(this))
    , m_criteria(new CriteriaGrid(m_tabs))
    , m_results(new ResultsTab(m_tabs))
    , m_edit(new EditTab(m_tabs))
    , m_manage(new ManageTab(m_tabs))
{
    setObjectName(QStringLiteral("ReportForm"));
    m_tabs->setObjectName(QStringLiteral("Tab1"));
    m_tabs->addTab(m_criteria, QStringLiteral("Search items"));
    m_tabs->addTab(m_results, QStringLiteral("Results"));
    m_tabs->addTab(m_edit, QStringLiteral("Edit results"));
    m_tabs->addTab(m_manage, QStringLiteral("Manage results"));
    // A search locks the tool bar and the tabs, never its own progress and Stop.
    m_body = new QWidget(this);
    auto* body = new QVBoxLayout(m_body);
    body->setContentsMargins(0, 0, 0, 0);
    body->addWidget(m_toolBar);
    body->addWidget(m_tabs, 1);
    m_searchPanel = new QWidget(this);
    m_searchPanel->setObjectName(QStringLiteral("SearchPanel"));
    m_searchProgress = new QProgressBar(m_searchPanel);
    m_searchProgress->setObjectName(QStringLiteral("SearchProgress"));
    m_searchProgress->setAccessibleName(QStringLiteral("Search progress"));
    m_stopButton = new QPushButton(QStringLiteral("Stop"), m_searchPanel);
    m_stopButton->setObjectName(QStringLiteral("StopButton"));
    m_stopButton->setToolTip(QStringLiteral("Stop the search (Esc)"));
    auto* panel = new QHBoxLayout(m_searchPanel);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addWidget(m_searchProgress, 1);
    panel->addWidget(m_stopButton);
    m_searchPanel->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_body, 1);
    layout->addWidget(m_searchPanel);
    connect(m_stopButton, &QPushButton::clicked, this, &ReportForm::stopSearch);
    // Escape stops a search from its first moment, before the panel shows.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &ReportForm::stopSearch);
    resize(900, 720);

    connect(m_criteria, &CriteriaGrid::searchRequested, this, &ReportForm::Search);
    connect(m_tabs, &QTabWidget::currentChanged, this, &ReportForm::tabChanged);
    connect(m_results, &ResultsTab::pageChosen, this, &ReportForm::pageChosen);
    connect(m_results, &ResultsTab::presentRequested, this, &ReportForm::PresentPage);
    connect(m_results, &ResultsTab::caretMoved, this, &ReportForm::caretMoved);
    connect(m_results, &ResultsTab::editRequested, this, [this] { m_tabs->setCurrentIndex(EditResults); });
    connect(m_edit, &EditTab::nextRequested, this, &ReportForm::nextClicked);
    connect(m_edit, &EditTab::previousRequested, this, &ReportForm::previousClicked);
    connect(m_edit, &EditTab::goToRequested, this, &ReportForm::goToRecord);
    connect(m_edit, &EditTab::saveRequested, this, &ReportForm::saveClicked);
    connect(m_edit, &EditTab::removeRequested, this, &ReportForm::removeClicked);
    connect(m_edit, &EditTab::citationRequested, this, &ReportForm::copyCitation);
    connect(m_edit, &EditTab::newCategoryRequested, this, [this] {
        const QString name = addNewCategory();
        if (!name.isEmpty())
            m_edit->showCategory(name);
    });
    m_output = std::make_unique<OutputActions>(*m_toolBar, *m_results, m_binding, m_state, ticks(), bibliography);
    m_manageActions = std::make_unique<ManageActions>(*m_manage, m_binding, m_state, ticks());
    connect(m_manageActions.get(), &ManageActions::categoryAssigned, this, &ReportForm::categoryAssigned);
    connect(m_manageActions.get(), &ManageActions::recordsDeleted, this, &ReportForm::reloadResults);
    connect(m_manage, &ManageTab::newCategoryRequested, this, [this] {
        // The name is for the results; the record on the edit tab keeps its category.
        const QString name = addNewCategory();
        if (!name.isEmpty())
            m_manage->chooseCategory(name);
    });
    connect(m_toolBar->button(ToolButton::Back), &QToolButton::clicked, this, &ReportForm::backClicked);
    connect(
        m_toolBar->button(ToolButton::SearchOptions), &QToolButton::clicked, this, &ReportForm::searchOptionsClicked);
    connect(m_toolBar->button(ToolButton::Clear), &QToolButton::clicked, m_criteria, &CriteriaGrid::clearRows);
    connect(m_toolBar->button(ToolButton::Help), &QToolButton::clicked, this, &ReportForm::helpClicked);

    load();
}

ReportForm::~ReportForm() = default;

void ReportForm::load()
{
    // The options dialog lives hidden beside this screen and edits copies of its settings.
    m_options = std::make_unique<OptionForm>(bibliography());
    connect(m_options.get(), &OptionForm::accepted, this, [this](const SearchOptions& edited) {
        m_settings = edited;
        setEnabled(true);
    });
    FillCategoryList();
    m_settings = defaultSearchOptions(bibliography().categories());
    setWindowTitle(windowCaption(ScreenKind::SearchResults, bibliography().BibName()));
    // Nothing to present, print or save before the first search.
    m_results->presentButton()->setEnabled(false);
    for (ToolButton output :
        {ToolButton::Copy, ToolButton::Print, ToolButton::Save, ToolButton::SaveAll, ToolButton::Export})
        m_toolBar->button(output)->setEnabled(false);
    tabChanged(SearchItems);
}

RecordSet* ReportForm::resultSet()
{
    return m_binding.hasRecordset() ? &m_binding.recordset() : nullptr;
}

void ReportForm::FillCategoryList()
{
    const QStringList& names = bibliography().refreshCategories(prompts());
    m_edit->setCategories(names);
    m_manage->setCategories(names);
}

void ReportForm::Search()
{
    // The new result replaces the record on the edit tab.
    if (!leaveRecord())
        return;
    m_criteria->TidyRows();
    const CriteriaRows rows = m_criteria->rows();
    if (const std::optional<QString> refusal = CheckBrackets(rows)) {
        prompts().notice(*refusal);
        return;
    }
    if (m_search)
        return;
    SearchSnapshot search = takeSnapshot(rows, m_settings);
    m_search = std::make_unique<SearchJob>(m_binding.database(), search.statement, search.prefilter);
    m_pendingSearch = std::move(search);
    // A small file's search is done in its first step: the result shows at once.
    busy().enter(m_results->resultsBox());
    const StepOutcome first = m_search->step(TickBudget());
    busy().leave();
    if (!first.ongoing()) {
        searchEnded(first);
        if (first.kind == StepOutcome::Kind::Failed)
            prompts().notice(refusedSearchMessage(first.reason));
        return;
    }
    // From here on only the tool bar and tabs are locked: Stop and Escape stay usable.
    setEnabled(true);
    m_searchClock.start();
    m_searchProgress->hide();
    busy().setLockedArea(m_body);
    ticks().start(*m_search,
        {m_searchProgress, QStringLiteral("The search could not be run."),
            [this] {
                // Short searches end without a flash of progress.
                if (!m_searchPanel->isVisible() && m_searchClock.elapsed() >= 500) {
                    m_searchProgress->show();
                    m_searchPanel->show();
                }
            },
            [this](const StepOutcome& outcome) { searchEnded(outcome); }});
}

void ReportForm::stopSearch()
{
    if (m_search)
        m_search->stop();
}

void ReportForm::searchEnded(const StepOutcome& outcome)
{
    const std::unique_ptr<SearchJob> job = std::move(m_search);
    SearchSnapshot search = std::move(m_pendingSearch);
    m_pendingSearch = {};
    m_searchPanel->hide();
    busy().setLockedArea(this);
    m_body->setEnabled(true);
    // Stopped or refused: the previous results, page and highlight words stay as they
    // were (a refusal is reported by the caller or the tick driver).
    if (job->stopped() || outcome.kind == StepOutcome::Kind::Failed)
        return;
    const SearchOutcome found = adoptSearchResult(m_binding, *job, outcome);
    if (found.accepted)
        showSearchResult(std::move(search), found);
}

void ReportForm::showSearchResult(SearchSnapshot search, const SearchOutcome& outcome)
{
    busy().enter(m_results->resultsBox());
    const int count = outcome.recordCount;
    m_state.ResultCount = count;
    m_state.search = std::move(search);
    m_criteria->showHighlightWords(m_state.search.highlightWords);
    m_state.CurrentRecordNo = 1;
    m_state.EditTarget = 0;
    // The page about to be presented already reflects the new set.
    m_state.ResultsChanged = false;

    m_results->setPages(count > 0 ? pageList(count) : QStringList());
    if (count > 0)
        m_results->choosePage(0);
    m_results->presentButton()->setEnabled(true);
    for (ToolButton output : {ToolButton::Copy, ToolButton::Print, ToolButton::Save, ToolButton::Export})
        m_toolBar->button(output)->setEnabled(count > 0);
    m_toolBar->button(ToolButton::SaveAll)->setEnabled(count > 0 && m_results->pageCount() > 1);
    m_edit->searchFinished(count);
    m_manage->searchFinished(count);
    if (count > 0)
        loadEditFields();
    PresentPage();
    m_tabs->setCurrentIndex(Results);
}

void ReportForm::PresentPage()
{
    RecordSet* records = resultSet();
    if (records) {
        try {
            const PresentedPage page
                = papyrant::PresentPage(*records, m_results->chosenPage(), m_state.ResultCount, m_state.search);
            m_results->showPage(page);
            m_state.pageShown(page);
            // The caret stands at the start of the new page, in its header.
            m_state.EditTarget = 0;
            m_results->setEditLabelToolTip(0);
        } catch (const std::exception& error) {
            busy().leave();
            reportFailure(QStringLiteral("The records could not be read."), error);
            return;
        }
    }
    busy().leave();
}

void ReportForm::pageChosen(int index)
{
    if (index < 0)
        return;
    const QString item = m_results->chosenPageText();
    if (m_tabs->currentIndex() == Results && index != m_state.ShownPage) {
        m_results->setNotice(pageNotice(item, false));
        busy().enter(m_results->resultsBox());
        // The notice is painted before the page is built.
        QTimer::singleShot(1, this, &ReportForm::PresentPage);
    }
    m_state.ShownPage = index;
    m_toolBar->button(ToolButton::Print)->setToolTip(printToolTip(item));
    m_toolBar->button(ToolButton::Save)->setToolTip(saveToolTip(item));
}

void ReportForm::tabChanged(int tab)
{
    if (m_shownTab == EditResults && tab != EditResults && recordChanged()) {
        // The edit tab stays on view while the question is asked, and after Cancel.
        {
            const QSignalBlocker quiet(m_tabs);
            m_tabs->setCurrentIndex(EditResults);
        }
        if (!leaveRecord())
            return;
        const QSignalBlocker quiet(m_tabs);
        m_tabs->setCurrentIndex(tab);
    }
    m_shownTab = tab;
    m_manage->tabChanged();
    if (tab == SearchItems)
        m_criteria->wordsBox(0)->setFocus();
    m_toolBar->showTab(tab);
    if (tab == Results && m_state.ResultsChanged) {
        m_state.ResultsChanged = false;
        const int before = m_results->chosenPage();
        const QStringList pages = pageList(m_state.ResultCount);
        m_results->setPages(pages);
        m_toolBar->button(ToolButton::SaveAll)->setEnabled(pages.size() > 1);
        m_state.ShownPage = -1;
        m_results->choosePage(std::clamp(before, 0, static_cast<int>(pages.size()) - 1));
    }
    if (tab == EditResults && m_state.EditTarget > 0) {
        m_edit->setGoToText(QString::number(m_state.EditTarget));
        goToRecord();
        m_edit->setGoToText(QString());
    }
}

void ReportForm::caretMoved(int position)
{
    if (m_tabs->currentIndex() != Results)
        return;
    m_state.EditTarget = recordUnderCaret(position, m_state.HeaderLength, m_state.RecordEnds, m_results->chosenPage());
    m_results->setEditLabelToolTip(m_state.EditTarget);
}

void ReportForm::backClicked()
{
    if (m_tabs->currentIndex() != SearchItems)
        m_tabs->setCurrentIndex(SearchItems);
    else
        backToControlPanel();
}

void ReportForm::searchOptionsClicked()
{
    // A category was added here: the bibliography's list is read again, every one selected.
    if (m_state.CategoriesChanged) {
        m_state.CategoriesChanged = false;
        m_settings.categories = everyCategory(bibliography().refreshCategories(prompts()));
    }
    m_options->edit(m_settings);
    showCentredOver(m_options.get(), this);
    // The dialog's "OK" enables this screen again.
    setEnabled(false);
}

void ReportForm::helpClicked()
{
    showHelp(QLatin1String(HelpPages[std::clamp(m_tabs->currentIndex(), 0, 3)]));
}

void ReportForm::loadEditFields()
{
    RecordSet* records = resultSet();
    if (!records)
        return;
    try {
        m_edit->showFields(LoadEditFields(*records));
    } catch (const std::exception& error) {
        reportFailure(QStringLiteral("The record could not be read."), error);
    }
}

void ReportForm::showMove(const EditPosition& position)
{
    m_edit->showPosition(position);
    m_edit->setGoToText(QString());
    loadEditFields();
}

void ReportForm::nextClicked()
{
    RecordSet* records = resultSet();
    if (records && leaveRecord())
        showMove(nextRecord(*records, m_state));
}

void ReportForm::previousClicked()
{
    RecordSet* records = resultSet();
    if (records && leaveRecord())
        showMove(previousRecord(*records, m_state));
}

void ReportForm::goToRecord()
{
    RecordSet* records = resultSet();
    if (!records || !leaveRecord())
        return;
    const GoToTarget target = goToTarget(m_edit->goToText(), m_state.ResultCount);
    const std::optional<EditPosition> position = papyrant::goToRecord(*records, m_state, target.recordNo);
    if (!position)
        return;
    m_edit->setGoToText(target.boxText);
    m_edit->showPosition(*position);
    loadEditFields();
}

void ReportForm::saveClicked()
{
    saveEdited();
}

bool ReportForm::saveEdited()
{
    RecordSet* records = resultSet();
    if (!records)
        return true;
    try {
        saveCurrentRecord(*records, m_edit->texts(), m_edit->categoryText());
    } catch (const std::exception& error) {
        reportFailure(QStringLiteral("The record could not be saved."), error);
        return false;
    }
    loadEditFields();
    return true;
}

bool ReportForm::recordChanged()
{
    const RecordSet* records = resultSet();
    return records && records->hasCurrent() && m_edit->changed();
}

bool ReportForm::leaveRecord()
{
    if (!recordChanged())
        return true;
    switch (askSaveChanges(prompts())) {
    case PromptButton::Yes: return saveEdited();
    case PromptButton::No: loadEditFields(); return true;
    default: return false;
    }
}

void ReportForm::removeClicked()
{
    RecordSet* records = resultSet();
    if (!records)
        return;
    // Saving the changes keeps the record they were typed into: Yes saves and calls the
    // removal off, No removes the record as it is stored.
    if (recordChanged()) {
        const PromptButton answer = askSaveChanges(prompts());
        if (answer == PromptButton::Yes)
            saveEdited();
        if (answer != PromptButton::No)
            return;
    }
    EditPosition position;
    try {
        position = removeCurrentRecord(*records, m_state);
    } catch (const std::exception& error) {
        reportFailure(QStringLiteral("The record could not be removed."), error);
        return;
    }
    m_edit->showPosition(position);
    if (m_state.ResultCount == 0)
        resultsEmptied();
    else
        loadEditFields();
}

void ReportForm::copyCitation()
{
    RecordSet* records = resultSet();
    if (!records || !records->hasCurrent())
        return;
    try {
        QGuiApplication::clipboard()->setText(citationText(CitationFormat::BibTex, currentRecordValues(*records)));
    } catch (const std::exception& error) {
        reportFailure(QStringLiteral("The record could not be read."), error);
    }
}

void ReportForm::resultsEmptied()
{
    m_edit->resultsEmptied();
    m_manage->resultsEmptied();
}

QString ReportForm::addNewCategory()
{
    const QString name = askNewCategory(prompts(), m_edit->categories());
    if (name.isEmpty())
        return name;
    listCategory(name);
    return name;
}

void ReportForm::listCategory(const QString& name)
{
    m_edit->listCategory(name);
    m_manage->addCategory(name);
    m_state.CategoriesChanged = true;
}

void ReportForm::categoryAssigned(const QString& category)
{
    if (!m_edit->categories().contains(category))
        listCategory(category);
    // The record on the edit tab holds the category now.
    loadEditFields();
}

void ReportForm::reloadResults()
{
    int count = 0;
    try {
        count = m_binding.refresh().recordCount();
    } catch (const std::exception& error) {
        reportFailure(QStringLiteral("The records could not be read."), error);
    }
    m_state.ResultCount = count;
    m_state.ResultsChanged = true;
    m_state.EditTarget = 0;
    m_manage->resultsChanged(count);
    if (count == 0) {
        m_state.CurrentRecordNo = 0;
        m_edit->showPosition({AllRecordsDeleted, {}});
        m_edit->resultsEmptied();
        return;
    }
    m_state.CurrentRecordNo = 1;
    m_edit->searchFinished(count);
    loadEditFields();
}

void ReportForm::reportFailure(const QString& sentence, const std::exception& error)
{
    prompts().notice(sentence + QLatin1Char('\n') + errorText(error));
}

void ReportForm::closeEvent(QCloseEvent* event)
{
    if (!busy().active() && !leaveRecord()) {
        event->ignore();
        return;
    }
    WorkingScreen::closeEvent(event);
}

void ReportForm::unloadScreen()
{
    m_manageActions.reset();
    m_options.reset();
    m_binding.close();
}

} // namespace papyrant
