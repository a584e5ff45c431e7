#pragma once
// The search and results screen: four tabs ("Search items", "Results", "Edit results",
// "Manage results") under a bar of picture buttons. It owns what the tabs share: the
// search settings (a value the options dialog edits a copy of), the result set of the
// last search with the snapshot its pages read, and the results state; its bibliography,
// busy state and tick driver come with every working screen. It runs the operations that
// involve more than one tab: Search, page choice and presentation, tab changes, the way
// back. Each tab is a widget of its own that only shows and collects; the manage and
// output actions get the pieces they work on.

#include "core/DataBinding.h"
#include "options/SearchOptions.h"
#include "screens/WorkingScreen.h"
#include "search/ResultsState.h"
#include "search/SearchRun.h"
#include "search/SearchSnapshot.h"

#include <QElapsedTimer>

#include <memory>

class QProgressBar;
class QPushButton;
class QTabWidget;

namespace papyrant {

class CriteriaGrid;
class EditTab;
class ManageActions;
class ManageTab;
class OptionForm;
class OutputActions;
class ReportToolBar;
class ResultsTab;
struct EditPosition;

class ReportForm : public WorkingScreen {
    Q_OBJECT
public:
    enum Tab { SearchItems = 0, Results = 1, EditResults = 2, ManageResults = 3 };

    explicit ReportForm(Bibliography& bibliography, QWidget* parent = nullptr);
    ~ReportForm() override;

    // Search: tidies the rows, checks the brackets, runs the composed statement,
    // loads the first record for editing, presents the first page and shows it. A search
    // over a large file goes on in ticks: after half a second its progress shows, and
    // Stop or Escape breaks it off, leaving the previous result on screen.
    void Search();
    // True while a search goes on in ticks.
    bool searching() const { return m_search != nullptr; }
    // Breaks off the search under way, if any.
    void stopSearch();
    QPushButton* stopButton() const { return m_stopButton; }
    QProgressBar* searchProgress() const { return m_searchProgress; }
    // Builds the chosen page into the results box and ends the busy state.
    void PresentPage();
    // Reads the bibliography's categories (its one reader) into the lists of the edit and
    // manage tabs.
    void FillCategoryList();
    // "New" of either tab: asks for a name; an accepted one joins both lists (the tab that
    // asked chooses it) and the options re-read their categories when opened next.
    QString addNewCategory();
    // The result set became empty by removals: nothing is left to save, remove or copy.
    void resultsEmptied();
    // Records of the results were deleted: the search statement runs again and every tab
    // shows what it finds now (after a whole deletion nothing, "All records were deleted"
    // on the edit tab); the Results tab builds its page afresh when shown next.
    void reloadResults();
    // Every result was given the category: the edit tab shows its record afresh, with the
    // category, and a name not listed yet joins the lists of both tabs.
    void categoryAssigned(const QString& category);

    ResultsState& resultsState() { return m_state; }
    // The record set of the last search; null before the first one.
    RecordSet* resultSet();
    DataBinding& resultsBinding() { return m_binding; }
    // The search settings the next search takes; the options dialog edits a copy.
    const SearchOptions& searchSettings() const { return m_settings; }

    QTabWidget* tabs() const { return m_tabs; }
    ReportToolBar* toolBar() const { return m_toolBar; }
    CriteriaGrid* criteria() const { return m_criteria; }
    ResultsTab* resultsTab() const { return m_results; }
    EditTab* editTab() const { return m_edit; }
    ManageTab* manageTab() const { return m_manage; }
    OptionForm* options() const { return m_options.get(); }
    OutputActions* output() const { return m_output.get(); }

protected:
    // With changed fields on the edit tab, the close box asks first; Cancel keeps the screen.
    void closeEvent(QCloseEvent* event) override;
    void unloadScreen() override;

private:
    void load();
    void tabChanged(int tab);
    void pageChosen(int index);
    void caretMoved(int position);
    void backClicked();
    void searchOptionsClicked();
    void helpClicked();
    void loadEditFields();
    void showMove(const EditPosition& position);
    void nextClicked();
    void previousClicked();
    void goToRecord();
    void saveClicked();
    void removeClicked();
    // "Copy citation": the current record as stored, as a BibTeX entry on the clipboard.
    void copyCitation();
    // What follows a search that found its records: the result on every tab.
    void showSearchResult(SearchSnapshot search, const SearchOutcome& outcome);
    void searchEnded(const StepOutcome& outcome);
    // The edit tab shows a record whose fields differ from what was loaded.
    bool recordChanged();
    // Before the record on the edit tab is left: with changed fields, asks whether to save
    // them. True when the record may be left: saved (Yes), discarded (No) or unchanged;
    // false on Cancel or when the save failed, and the record stays as typed.
    bool leaveRecord();
    // Saves the edit tab's record; the fields then show what was stored. False when the
    // store refused, which was reported.
    bool saveEdited();
    // The operation's own sentence, a line feed and the engine's description.
    void reportFailure(const QString& sentence, const std::exception& error);
    // A category joins the lists of the edit and manage tabs; the options re-read theirs.
    void listCategory(const QString& name);

    ResultsState m_state;
    int m_shownTab = SearchItems; // the tab on view, until a change of tab is allowed
    SearchOptions m_settings;
    DataBinding m_binding; // the result set of the last search
    std::unique_ptr<OptionForm> m_options;
    QWidget* m_body = nullptr; // tool bar and tabs: what a search locks
    QWidget* m_searchPanel = nullptr; // progress and Stop of a long search
    QProgressBar* m_searchProgress = nullptr;
    QPushButton* m_stopButton = nullptr;
    QElapsedTimer m_searchClock;
    std::unique_ptr<SearchJob> m_search; // the search under way
    SearchSnapshot m_pendingSearch; // what it searches for
    ReportToolBar* m_toolBar = nullptr;
    QTabWidget* m_tabs = nullptr; // search items, results, edit results, manage results
    CriteriaGrid* m_criteria = nullptr;
    ResultsTab* m_results = nullptr;
    EditTab* m_edit = nullptr;
    ManageTab* m_manage = nullptr;
    // Declared after the binding, so they end before it: a run holds its database.
    std::unique_ptr<OutputActions> m_output;
    std::unique_ptr<ManageActions> m_manageActions;
};

} // namespace papyrant
