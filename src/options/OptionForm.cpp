#include "options/OptionForm.h"

#include "core/Bibliography.h"
#include "core/Prompts.h"
#include "help/HelpOpener.h"
#include "options/OptionChecks.h"
#include "options/OptionLists.h"
#include "screens/ReadingOrder.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace papyrant {

namespace {

// The "Search at" entries; entry i searches searchableColumnNames()[i].
const QStringList& searchAtNames()
{
    static const QStringList names{QStringLiteral("Title"), QStringLiteral("Authors"), QStringLiteral("Author address"),
        QStringLiteral("Source"), QStringLiteral("Key words"), QStringLiteral("Publication type"),
        QStringLiteral("Abstract")};
    return names;
}

QListWidgetItem* addCheckItem(QListWidget* list, const QString& text, bool checked)
{
    auto* item = new QListWidgetItem(text, list);
    item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    return item;
}

bool isChecked(const QListWidget* list, int row)
{
    return list->item(row)->checkState() == Qt::Checked;
}

void setChecked(QListWidget* list, int row, bool checked)
{
    list->item(row)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

QListWidget* checkList(const char* name, QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(QLatin1String(name));
    return list;
}

QCheckBox* checkBox(const char* name, const QString& caption, bool checked, QWidget* parent)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(checked);
    return box;
}

} // namespace

OptionForm::OptionForm(Bibliography& bibliography, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_bibliography(bibliography)
{
    setObjectName(QStringLiteral("OptionForm"));
    setWindowTitle(QStringLiteral("Options"));
    followReadingOrder(this);

    QWidget* searchAt = buildSearchAt();
    QWidget* output = buildRequestedOutput();
    QWidget* sortBy = buildSortBy();
    QWidget* filters = buildYearsAndLanguage();
    QWidget* categories = buildCategories();

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("Command1"));
    m_help = new QPushButton(QStringLiteral("Help"), this);
    m_help->setObjectName(QStringLiteral("Command2"));
    connect(m_ok, &QPushButton::clicked, this, &OptionForm::okClicked);
    connect(m_help, &QPushButton::clicked, this, &OptionForm::helpClicked);

    auto* left = new QVBoxLayout;
    left->addWidget(searchAt);
    left->addWidget(output);
    auto* right = new QVBoxLayout;
    right->addWidget(sortBy);
    right->addWidget(filters);
    right->addWidget(categories, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_help);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(buttons);

    edit(SearchOptions{});
}

QWidget* OptionForm::buildSearchAt()
{
    auto* frame = new QGroupBox(QStringLiteral("Search at"), this);
    m_searchAt = checkList("List1Vis", frame);
    for (const QString& name : searchAtNames())
        addCheckItem(m_searchAt, name, false);
    m_wholeWord = checkBox("CheckwHoleWord", QStringLiteral("Find whole word only"), true, frame);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(m_searchAt);
    layout->addWidget(m_wholeWord);
    return frame;
}

QWidget* OptionForm::buildRequestedOutput()
{
    auto* frame = new QGroupBox(QStringLiteral("Requested output"), this);
    m_output = checkList("List2Vis", frame);
    for (const QString& name : fieldDisplayNames())
        addCheckItem(m_output, name, false);
    m_references = checkBox("CheckRef", QStringLiteral("Create references"), false, frame);
    connect(m_output, &QListWidget::itemChanged, this, &OptionForm::outputFieldChanged);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(m_output);
    layout->addWidget(m_references);
    return frame;
}

QWidget* OptionForm::buildSortBy()
{
    auto* frame = new QGroupBox(QStringLiteral("Sort by"), this);
    m_sortBy = new QComboBox(frame);
    m_sortBy->setObjectName(QStringLiteral("Combo2"));
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(m_sortBy);
    return frame;
}

QWidget* OptionForm::buildYearsAndLanguage()
{
    auto* panel = new QWidget(this);
    m_allYears = checkBox("CheckYears", QStringLiteral("All"), true, panel);
    m_yearFrom = new QLineEdit(panel);
    m_yearFrom->setObjectName(QStringLiteral("TextYear1"));
    m_yearTo = new QLineEdit(panel);
    m_yearTo->setObjectName(QStringLiteral("TextYear2"));
    for (QLineEdit* year : {m_yearFrom, m_yearTo}) {
        year->setMaxLength(4);
        year->setEnabled(false);
    }
    m_allLanguages = checkBox("CheckLanguage", QStringLiteral("All"), true, panel);
    m_language = new QComboBox(panel);
    m_language->setObjectName(QStringLiteral("ComboLanguage"));
    m_language->setEditable(true);
    // A typed language is a filter value, not a new list entry.
    m_language->setInsertPolicy(QComboBox::NoInsert);
    m_language->setEnabled(false);
    // Two ticks read "All" and two boxes stand beside bare "From" and "To": a screen
    // reader says what each is for.
    m_allYears->setAccessibleName(QStringLiteral("All years"));
    m_allLanguages->setAccessibleName(QStringLiteral("All languages"));
    m_yearFrom->setAccessibleName(QStringLiteral("Years from"));
    m_yearTo->setAccessibleName(QStringLiteral("Years to"));
    m_language->setAccessibleName(QStringLiteral("Language"));
    connect(m_allYears, &QCheckBox::toggled, this, &OptionForm::allYearsToggled);
    connect(m_allLanguages, &QCheckBox::toggled, this, &OptionForm::allLanguagesToggled);

    auto* layout = new QGridLayout(panel);
    layout->addWidget(new QLabel(QStringLiteral("Years"), panel), 0, 0);
    layout->addWidget(m_allYears, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("From"), panel), 1, 0);
    layout->addWidget(m_yearFrom, 1, 1);
    layout->addWidget(new QLabel(QStringLiteral("To"), panel), 1, 2);
    layout->addWidget(m_yearTo, 1, 3);
    layout->addWidget(new QLabel(QStringLiteral("Language"), panel), 2, 0);
    layout->addWidget(m_allLanguages, 2, 1);
    layout->addWidget(m_language, 3, 0, 1, 4);
    return panel;
}

QWidget* OptionForm::buildCategories()
{
    auto* frame = new QGroupBox(QStringLiteral("Categories"), this);
    m_categories = checkList("List3", frame);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(m_categories);
    return frame;
}

void OptionForm::edit(const SearchOptions& options)
{
    m_loading = true;
    for (int i = 0; i < SearchableColumnCount; ++i)
        setChecked(m_searchAt, i, options.searchedColumns[i]);
    m_wholeWord->setChecked(options.wholeWordOnly);
    for (int j = 0; j < FieldCount; ++j)
        setChecked(m_output, j, options.outputFields[j]);
    m_references->setChecked(options.createReferences);
    m_loading = false;
    m_sortBy->clear();
    m_sortBy->addItems(sortChoices(options.outputFields));
    m_sortBy->setCurrentIndex(std::max(0, m_sortBy->findText(options.sortChoice)));

    // The filters' boxes follow their "All" ticks whether or not a tick changes here.
    {
        const QSignalBlocker years(m_allYears);
        const QSignalBlocker languages(m_allLanguages);
        m_allYears->setChecked(options.allYears);
        m_allLanguages->setChecked(options.allLanguages);
    }
    m_yearFrom->setText(options.yearFrom);
    m_yearTo->setText(options.yearTo);
    allYearsToggled(options.allYears);
    allLanguagesToggled(options.allLanguages);
    if (!options.allLanguages)
        m_language->setEditText(options.language);

    m_categories->clear();
    for (const CategoryChoice& category : options.categories)
        addCheckItem(m_categories, category.name, category.selected);
    for (QListWidget* list : {m_searchAt, m_output, m_categories})
        list->setCurrentRow(-1);
}

SearchOptions OptionForm::options() const
{
    SearchOptions options;
    for (int i = 0; i < SearchableColumnCount; ++i)
        options.searchedColumns[i] = isChecked(m_searchAt, i);
    options.wholeWordOnly = m_wholeWord->isChecked();
    options.allYears = m_allYears->isChecked();
    options.yearFrom = m_yearFrom->text();
    options.yearTo = m_yearTo->text();
    options.allLanguages = m_allLanguages->isChecked();
    options.language = m_language->currentText();
    for (int i = 0; i < m_categories->count(); ++i)
        options.categories.push_back({m_categories->item(i)->text(), isChecked(m_categories, i)});
    options.sortChoice = m_sortBy->currentText();
    options.sortColumn = columnNameForm(options.sortChoice);
    options.outputFields = outputFields();
    options.createReferences = m_references->isChecked();
    return options;
}

std::array<bool, FieldCount> OptionForm::outputFields() const
{
    std::array<bool, FieldCount> fields{};
    for (int j = 0; j < FieldCount; ++j)
        fields[j] = isChecked(m_output, j);
    return fields;
}

void OptionForm::outputFieldChanged(QListWidgetItem*)
{
    if (!m_loading)
        rebuildSortList();
}

void OptionForm::rebuildSortList()
{
    const int current = m_output->currentRow();
    m_sortBy->clear();
    m_sortBy->addItems(sortChoices(outputFields()));
    // Whatever was chosen before, the sort falls back to "None".
    m_sortBy->setCurrentIndex(0);
    m_output->setCurrentRow(current);
}

void OptionForm::allYearsToggled(bool all)
{
    m_yearFrom->setEnabled(!all);
    m_yearTo->setEnabled(!all);
}

void OptionForm::allLanguagesToggled(bool all)
{
    if (!all)
        fillLanguageList();
    m_language->setEnabled(!all);
}

void OptionForm::fillLanguageList()
{
    m_language->clear();
    m_language->clearEditText();
    if (!m_bibliography.isOpen())
        return;
    try {
        m_language->addItems(readLanguages(m_bibliography.database()));
    } catch (const std::exception& error) {
        prompts().notice(QStringLiteral("The languages could not be read.\n") + errorText(error));
    }
    // Adding to an empty list makes its first entry the text; the language starts unchosen.
    m_language->setCurrentIndex(-1);
    m_language->clearEditText();
}

void OptionForm::okClicked()
{
    const SearchOptions edited = options();
    const std::optional<OptionRefusal> refusal = checkOptions(edited);
    if (!refusal) {
        hide();
        emit accepted(edited);
        return;
    }
    prompts().notice(refusal->message);
    switch (refusal->place) {
    case OptionRefusal::Place::Categories: m_categories->setCurrentRow(-1); break;
    case OptionRefusal::Place::YearFrom: m_yearFrom->setFocus(); break;
    case OptionRefusal::Place::Language: m_language->setFocus(); break;
    }
}

void OptionForm::helpClicked()
{
    showHelp(QStringLiteral("/HsearchOp.htm"));
}

void OptionForm::closeEvent(QCloseEvent* event)
{
    event->ignore();
}

} // namespace papyrant
