#pragma once
// The "Manage results" tab: the category to give every result with "Do" and "New", the
// buttons that copy the results to another bibliography and delete them all,
// and the progress bar and line of those two runs. It only shows and collects; the
// results screen does the work (ManageActions).

#include <QStringList>
#include <QWidget>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace papyrant {

class ManageTab : public QWidget {
    Q_OBJECT
public:
    explicit ManageTab(QWidget* parent = nullptr);

    // The bibliography's categories; none is chosen.
    void setCategories(const QStringList& names);
    // A category made on either tab joins the list.
    void addCategory(const QString& name);
    // Makes a listed category the one chosen, as a choice from the list would.
    void chooseCategory(const QString& name);
    QString categoryText() const;
    // "Do" has done its work: the hint goes.
    void hideHint();

    // A search that found resultCount records: no category chosen; copying and deleting
    // only when there is something to copy or delete.
    void searchFinished(int resultCount);
    // The result set now holds resultCount records (after removals or a deletion).
    void resultsChanged(int resultCount);
    void resultsEmptied() { resultsChanged(0); }
    // Every tab change empties the progress line and hides the hint.
    void tabChanged();

    // A copy or deletion runs: the line reads `text` above the bar, which the tick driver
    // moves.
    void showProgress(const QString& text);
    QProgressBar* progressBar() const { return m_bar; }
    // The run has ended: the bar goes, the line keeps `text`.
    void showOutcome(const QString& text);

signals:
    void assignRequested(); // Do
    void newCategoryRequested();
    void copyRequested();
    void deleteAllRequested();

private:
    // "Do" is offered while a category is written in the box and there are results; the
    // hint to click it stands only then.
    void categoryEdited();

    QComboBox* m_category; // the category every result gets
    QPushButton* m_assign; // "Do"
    QPushButton* m_newCategory;
    QLabel* m_hint; // asks for "Do" while a category waits in the box
    QPushButton* m_copy;
    QPushButton* m_deleteAll;
    QLabel* m_progressLine; // what a run does, then what it did
    QProgressBar* m_bar; // how far a copy or deletion is
    bool m_hasResults = false;
};

} // namespace papyrant
