#pragma once
// The search options dialog ("Options"): which columns are searched, which fields the
// results show and whether references are made, the sort order, the year and language
// filters and the categories searched.
//
// It edits a copy of the results screen's settings: the screen hands its value to edit()
// and shows the dialog from its "Search options" button, disabled meanwhile; "OK" checks
// the edited copy, hides the dialog and hands the copy back through accepted(), on which
// the screen keeps it and enables itself again. The languages to choose from are read from
// the open bibliography.

#include "core/RecordModel.h"
#include "options/SearchOptions.h"

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

    // Puts the settings into the controls: from now on the dialog edits this copy.
    void edit(const SearchOptions& options);
    // The settings as the controls hold them now.
    SearchOptions options() const;

signals:
    // "OK" found the edited settings complete and hid the dialog.
    void accepted(const SearchOptions& options);

protected:
    // "OK" is the only way out: the window manager's close is refused.
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildSearchAt();
    QWidget* buildRequestedOutput();
    QWidget* buildSortBy();
    QWidget* buildYearsAndLanguage();
    QWidget* buildCategories();
    // Refills the language list from the open bibliography, sorted.
    void fillLanguageList();
    std::array<bool, FieldCount> outputFields() const;
    void outputFieldChanged(QListWidgetItem* item);
    void rebuildSortList();
    void allYearsToggled(bool all);
    void allLanguagesToggled(bool all);
    void okClicked();
    void helpClicked();

    QListWidget* m_searchAt; // the columns searched
    QCheckBox* m_wholeWord; // "Find whole word only"
    QListWidget* m_output; // the fields the pages show
    QCheckBox* m_references; // "Create references"
    QComboBox* m_sortBy; // the sort choices the shown fields allow
    QCheckBox* m_allYears; // no year filter
    QLineEdit* m_yearFrom;
    QLineEdit* m_yearTo;
    QCheckBox* m_allLanguages; // no language filter
    QComboBox* m_language; // the bibliography's languages, or one typed
    QListWidget* m_categories; // the categories searched
    QPushButton* m_ok;
    QPushButton* m_help;

    Bibliography& m_bibliography;
    // Set while edit() fills the controls, so ticking the output fields one by one does not
    // rebuild the sort list on every entry.
    bool m_loading = false;
};

} // namespace papyrant
