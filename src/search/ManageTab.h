#pragma once
// The "Manage results" tab: for now its frame and the calls the rest of the results
// screen makes on it. The controls that put all results into a category, copy them to
// another bibliography and delete them all (Combo4, Command11, Command1, Command12,
// Command13, Label12, Label13, Bar2) come with that work; they fill these calls in:
//   - setCategories / addCategory / categories: the list of Combo4, filled when the
//     screen loads and when the edit tab adds a category;
//   - searchFinished: a search that found records enables copy and delete-all and clears
//     the category choice; one that found none disables them and "Do";
//   - resultsEmptied: the set became empty by removals;
//   - tabChanged: every tab change empties Label13 and hides Label12.

#include <QStringList>
#include <QWidget>

namespace papyrant {

class ManageTab : public QWidget {
    Q_OBJECT
public:
    explicit ManageTab(QWidget* parent = nullptr);

    void setCategories(const QStringList& names) { m_categories = names; }
    void addCategory(const QString& name) { m_categories << name; }
    const QStringList& categories() const { return m_categories; }

    void searchFinished(int resultCount);
    void resultsEmptied();
    void tabChanged();

private:
    QStringList m_categories; // what Combo4 will list
};

} // namespace papyrant
