#pragma once
// The "Cleanup" tab: rename or delete a category, change or delete an entry date, delete
// the records of one category entered on one date. The lists are read from the
// bibliography each time the tab is entered and after every change. The changes run on the
// screen's tick driver, the tab's bar showing how far they are.

#include "maintenance/Cleanup.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QProgressBar;
class QToolButton;

namespace papyrant {

class TickDriver;

class CleanupTab : public QWidget {
    Q_OBJECT
public:
    CleanupTab(Bibliography& bibliography, TickDriver& ticks, QWidget* parent = nullptr);

    // Both lists read again, nothing picked, every operation button disabled.
    void refreshLists();

private:
    // Reads the bibliography's categories (its one reader) into the list, none picked.
    void FillCategoryList();
    void FillEntryDates();
    void UpdateCombinationLabel();
    void categoryPicked();
    void datePicked();
    // Runs the operation's change in ticks, then reads the lists again; a rename or a new
    // date stays on view.
    void afterOperation(const CleanupOutcome& outcome, QComboBox* showIn);
    void operationEnded(const CleanupOutcome& outcome, QComboBox* showIn);
    QStringList listed(const QComboBox* list) const;

    Bibliography& m_bibliography;
    TickDriver& m_ticks;
    std::shared_ptr<RowRangeRun> m_work; // the change under way
    QComboBox* m_categories;
    QToolButton* m_renameCategory;
    QToolButton* m_deleteCategory;
    QComboBox* m_dates; // the entry dates
    QToolButton* m_deleteDate;
    QToolButton* m_changeDate;
    QLabel* m_combination; // names the records of the picked category and date
    QToolButton* m_deleteCombination;
    QProgressBar* m_bar; // how far a change is, shown while it runs
};

} // namespace papyrant
