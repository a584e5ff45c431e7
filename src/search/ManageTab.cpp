#include "search/ManageTab.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace papyrant {

ManageTab::ManageTab(QWidget* parent)
    : QWidget(parent)
    , m_category(new QComboBox(this))
    , m_assign(new QPushButton(QStringLiteral("Do"), this))
    , m_newCategory(new QPushButton(QStringLiteral("New"), this))
    , m_hint(new QLabel(QStringLiteral("Click on \"Do\" button to\ncomplete the procedure\n"), this))
    , m_copy(new QPushButton(QStringLiteral("Copy current results to another Bibliography"), this))
    , m_deleteAll(new QPushButton(QStringLiteral("Delete all current results"), this))
    , m_progressLine(new QLabel(this))
    , m_bar(new QProgressBar(this))
{
    setObjectName(QStringLiteral("ManageTab"));
    auto* heading = new QLabel(QStringLiteral("Put current results into category"), this);
    heading->setObjectName(QStringLiteral("Label11"));
    m_category->setObjectName(QStringLiteral("Combo4"));
    m_category->setEditable(true);
    // Only "New" adds to the list; a name typed and confirmed with Enter stays typed.
    m_category->setInsertPolicy(QComboBox::NoInsert);
    m_category->setMinimumContentsLength(24);
    m_assign->setObjectName(QStringLiteral("Command11"));
    m_newCategory->setObjectName(QStringLiteral("Command1"));
    m_newCategory->setToolTip(QStringLiteral("Create new category"));
    m_hint->setObjectName(QStringLiteral("Label12"));
    m_copy->setObjectName(QStringLiteral("Command12"));
    m_deleteAll->setObjectName(QStringLiteral("Command13"));
    m_progressLine->setObjectName(QStringLiteral("Label13"));
    m_bar->setObjectName(QStringLiteral("Bar2"));
    m_bar->setTextVisible(false);
    m_hint->hide();
    m_progressLine->hide();
    m_bar->hide();
    m_assign->setEnabled(false);
    m_copy->setEnabled(false);
    m_deleteAll->setEnabled(false);

    connect(m_category, &QComboBox::activated, this, &ManageTab::categoryEdited);
    connect(m_category->lineEdit(), &QLineEdit::textEdited, this, &ManageTab::categoryEdited);
    connect(m_assign, &QPushButton::clicked, this, &ManageTab::assignRequested);
    connect(m_newCategory, &QPushButton::clicked, this, &ManageTab::newCategoryRequested);
    connect(m_copy, &QPushButton::clicked, this, &ManageTab::copyRequested);
    connect(m_deleteAll, &QPushButton::clicked, this, &ManageTab::deleteAllRequested);

    auto* category = new QHBoxLayout;
    category->addWidget(m_category, 1);
    category->addWidget(m_assign);
    category->addWidget(m_newCategory);
    auto* whole = new QVBoxLayout;
    whole->addWidget(m_copy);
    whole->addWidget(m_deleteAll);
    auto* column = new QVBoxLayout;
    column->addWidget(heading);
    column->addLayout(category);
    column->addWidget(m_hint);
    column->addSpacing(24);
    column->addLayout(whole);
    column->addSpacing(24);
    column->addWidget(m_progressLine);
    column->addWidget(m_bar);
    column->addStretch(1);
    // The controls keep their natural width on a wide screen.
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(column);
    layout->addStretch(1);
}

void ManageTab::setCategories(const QStringList& names)
{
    m_category->clear();
    m_category->addItems(names);
    m_category->setCurrentIndex(-1);
    m_category->clearEditText();
}

void ManageTab::addCategory(const QString& name)
{
    m_category->addItem(name);
}

void ManageTab::chooseCategory(const QString& name)
{
    m_category->setCurrentIndex(m_category->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive));
    m_category->setEditText(name);
    categoryEdited();
}

QString ManageTab::categoryText() const
{
    return m_category->currentText();
}

void ManageTab::hideHint()
{
    m_hint->hide();
}

void ManageTab::categoryEdited()
{
    const bool usable = m_hasResults && !categoryText().trimmed().isEmpty();
    m_assign->setEnabled(usable);
    m_hint->setVisible(usable);
}

void ManageTab::searchFinished(int resultCount)
{
    m_category->setCurrentIndex(-1);
    m_category->clearEditText();
    resultsChanged(resultCount);
}

void ManageTab::resultsChanged(int resultCount)
{
    m_hasResults = resultCount > 0;
    m_copy->setEnabled(m_hasResults);
    m_deleteAll->setEnabled(m_hasResults);
    m_assign->setEnabled(m_hasResults && !categoryText().trimmed().isEmpty());
    if (!m_assign->isEnabled())
        m_hint->hide();
}

void ManageTab::tabChanged()
{
    m_progressLine->clear();
    m_hint->hide();
}

void ManageTab::showProgress(const QString& text)
{
    m_progressLine->setText(text);
    m_progressLine->show();
    m_bar->setValue(0);
    m_bar->show();
}

void ManageTab::showOutcome(const QString& text)
{
    m_bar->hide();
    m_progressLine->setText(text);
    m_progressLine->show();
}

} // namespace papyrant
