#pragma once
// The search options dialog ("Options"): which columns are searched, which fields the
// results show and whether references are made, the sort order, the year and language
// filters and the categories searched.
//
// The results screen creates it hidden when it loads, shows it from its "Search options"
// button and disables itself meanwhile; "OK" checks the settings, hides the dialog and
// emits accepted(), on which the results screen enables itself again. Between openings the
// dialog is only hidden, so every choice persists. The visible check lists hold the values
// themselves: searchOptions() reads them into the snapshot the query is composed from.

#include "core/RecordModel.h"
#include "search/QueryComposition.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace papyrant {

class Bibliography;

class OptionForm : public QWidget {
    Q_OBJECT
public:
    explicit OptionForm(Bibliography& bibliography, QWidget* parent = nullptr);

    // Everything a search reads: searched columns, years, language, categories, sort.
    SearchOptions searchOptions() const;
    // For the presentation of results: entry j is field j of the catalogue.
    std::array<bool, FieldCount> outputFields() const;
    bool createReferences() const;
    // Shown and kept only; the search always matches whole, blank-bounded words.
    bool wholeWordOnly() const;
    // The column-name form of the sort choice ("TitelS" for "Title", "None" when unsorted).
    const QString& sortColumn() const { return m_sortColumn; }

    // The results screen calls this after it changed categories (where the dialog had its
    // hidden refresh box): the category list is read again, all selected.
    void requestCategoryRefresh();

    // Refills the category list from the open bibliography, every entry selected.
    void FillCategoryOptions();
    // Refills the language list from the open bibliography, sorted.
    void FillLanguageList();

signals:
    // "OK" found the settings complete and hid the dialog.
    void accepted();

protected:
    // "OK" is the only way out: the window manager's close is refused.
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildSearchAt();
    QWidget* buildRequestedOutput();
    QWidget* buildSortBy();
    QWidget* buildYearsAndLanguage();
    QWidget* buildCategories();
    void load();
    void outputFieldChanged(QListWidgetItem* item);
    void rebuildSortList();
    void sortChoiceChanged(const QString& choice);
    void allYearsToggled(bool all);
    void allLanguagesToggled(bool all);
    void okClicked();
    void helpClicked();

    QListWidget* m_searchAt; // List1Vis
    QCheckBox* m_wholeWord; // CheckwHoleWord
    QListWidget* m_output; // List2Vis
    QCheckBox* m_references; // CheckRef
    QComboBox* m_sortBy; // Combo2
    QCheckBox* m_allYears; // CheckYears
    QLineEdit* m_yearFrom; // TextYear1
    QLineEdit* m_yearTo; // TextYear2
    QCheckBox* m_allLanguages; // CheckLanguage
    QComboBox* m_language; // ComboLanguage
    QListWidget* m_categories; // List3
    QPushButton* m_ok; // Command1
    QPushButton* m_help; // Command2

    Bibliography& m_bibliography;
    QString m_sortColumn = QStringLiteral("None"); // what the hidden Text1 held
    // Set while the dialog loads, so checking the default output fields does not rebuild
    // the sort list on every entry.
    bool m_loading = false;
};

} // namespace papyrant
