#include "maintenance/CleanupTab.h"

#include "core/Database.h"
#include "screens/PictureButtons.h"
#include "screens/TickDriver.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace papyrant {

namespace {

QGroupBox* frame(const char* name, const QString& caption, QWidget* parent)
{
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QComboBox* dropDownList(const char* name, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    list->setMinimumContentsLength(24);
    return list;
}

QLabel* label(const char* name, const QString& caption, QWidget* parent)
{
    auto* text = new QLabel(caption, parent);
    text->setObjectName(QLatin1String(name));
    return text;
}

// A list picker row: caption, list, then its buttons.
void pickerRow(QGroupBox* box, QLabel* caption, QComboBox* list, std::initializer_list<QToolButton*> buttons)
{
    auto* row = new QHBoxLayout(box);
    row->addWidget(caption);
    row->addWidget(list, 1);
    for (QToolButton* button : buttons)
        row->addWidget(button);
}

} // namespace

CleanupTab::CleanupTab(Bibliography& bibliography, TickDriver& ticks, QWidget* parent)
    : QWidget(parent)
    , m_bibliography(bibliography)
    , m_ticks(ticks)
{
    QGroupBox* categories = frame("Frame2", QStringLiteral("Categories"), this);
    m_categories = dropDownList("Combo1", categories);
    m_renameCategory = pictureButton(
        categories, "Command7", QStyle::SP_ArrowForward, QStringLiteral("Rename category"), ButtonWords::Beside);
    m_deleteCategory = pictureButton(
        categories, "Command6", QStyle::SP_TrashIcon, QStringLiteral("Delete category"), ButtonWords::Beside);
    pickerRow(categories, label("Label3", QStringLiteral("Category"), categories), m_categories,
        {m_renameCategory, m_deleteCategory});

    QGroupBox* dates = frame("Frame3", QStringLiteral("Entry date"), this);
    m_dates = dropDownList("Combo2", dates);
    m_deleteDate
        = pictureButton(dates, "Command2", QStyle::SP_TrashIcon, QStringLiteral("Delete"), ButtonWords::Beside);
    m_changeDate = pictureButton(
        dates, "Command4", QStyle::SP_ArrowForward, QStringLiteral("Change entry date"), ButtonWords::Beside);
    pickerRow(dates, label("Label4", QStringLiteral("Date"), dates), m_dates, {m_deleteDate, m_changeDate});

    QGroupBox* combination = frame("Frame4", QStringLiteral("Combination"), this);
    m_combination = label("Label5", QString(), combination);
    m_combination->setWordWrap(true);
    m_deleteCombination
        = pictureButton(combination, "Command8", QStyle::SP_TrashIcon, QStringLiteral("Delete"), ButtonWords::Beside);
    auto* combinationRow = new QHBoxLayout(combination);
    combinationRow->addWidget(m_combination, 1);
    combinationRow->addWidget(m_deleteCombination);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(categories);
    layout->addWidget(dates);
    layout->addWidget(combination);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("Bar2"));
    m_bar->hide();
    layout->addWidget(m_bar);
    layout->addStretch();

    connect(m_categories, &QComboBox::activated, this, &CleanupTab::categoryPicked);
    connect(m_dates, &QComboBox::activated, this, &CleanupTab::datePicked);
    connect(m_deleteCategory, &QToolButton::clicked, this,
        [this] { afterOperation(deleteCategory(m_bibliography, prompts(), m_categories->currentText()), nullptr); });
    connect(m_renameCategory, &QToolButton::clicked, this, [this] {
        afterOperation(
            renameCategory(m_bibliography, prompts(), m_categories->currentText(), listed(m_categories)), m_categories);
    });
    connect(m_deleteDate, &QToolButton::clicked, this,
        [this] { afterOperation(deleteEntryDate(m_bibliography, prompts(), m_dates->currentText()), nullptr); });
    connect(m_changeDate, &QToolButton::clicked, this, [this] {
        afterOperation(changeEntryDate(m_bibliography, prompts(), m_dates->currentText(), listed(m_dates)), m_dates);
    });
    connect(m_deleteCombination, &QToolButton::clicked, this, [this] {
        afterOperation(
            deleteCombination(m_bibliography, prompts(), m_categories->currentText(), m_dates->currentText()), nullptr);
    });
    for (QToolButton* button : {m_renameCategory, m_deleteCategory, m_deleteDate, m_changeDate, m_deleteCombination})
        button->setEnabled(false);
}

QStringList CleanupTab::listed(const QComboBox* list) const
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->itemText(i);
    return entries;
}

void CleanupTab::refreshLists()
{
    FillCategoryList();
    FillEntryDates();
}

void CleanupTab::FillCategoryList()
{
    m_categories->clear();
    m_categories->addItems(m_bibliography.refreshCategories(prompts()));
    m_categories->setCurrentIndex(-1);
    m_deleteCategory->setEnabled(false);
    m_renameCategory->setEnabled(false);
}

void CleanupTab::FillEntryDates()
{
    m_dates->clear();
    try {
        m_dates->addItems(readEntryDates(m_bibliography));
    } catch (const std::exception& error) {
        prompts().notice(QStringLiteral("The entry dates could not be read.\n") + errorText(error));
    }
    m_dates->setCurrentIndex(-1);
    m_deleteDate->setEnabled(false);
    m_changeDate->setEnabled(false);
    UpdateCombinationLabel();
}

void CleanupTab::UpdateCombinationLabel()
{
    const QString text = combinationLabel(m_categories->currentText(), m_dates->currentText());
    m_combination->setText(text);
    m_deleteCombination->setEnabled(!text.isEmpty());
}

void CleanupTab::categoryPicked()
{
    m_deleteCategory->setEnabled(true);
    m_renameCategory->setEnabled(true);
    UpdateCombinationLabel();
}

void CleanupTab::datePicked()
{
    m_deleteDate->setEnabled(true);
    m_changeDate->setEnabled(true);
    UpdateCombinationLabel();
}

void CleanupTab::afterOperation(const CleanupOutcome& outcome, QComboBox* showIn)
{
    if (!outcome.work) {
        operationEnded(outcome, showIn);
        return;
    }
    if (m_ticks.running())
        return;
    m_work = outcome.work;
    m_bar->setValue(0);
    m_bar->show();
    m_ticks.start(*m_work, {m_bar, CleanupFailure, {}, [this, outcome, showIn](const StepOutcome&) {
                                m_bar->hide();
                                m_work.reset();
                                // Also after a failure: what was committed before it changed the lists.
                                operationEnded(outcome, showIn);
                            }});
}

void CleanupTab::operationEnded(const CleanupOutcome& outcome, QComboBox* showIn)
{
    if (!outcome.changed)
        return;
    refreshLists();
    if (showIn)
        showIn->setCurrentIndex(showIn->findText(outcome.shown, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

} // namespace papyrant
