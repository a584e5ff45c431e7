#include "maintenance/MaintenanceForm.h"

#include "core/Bibliography.h"
#include "help/HelpOpener.h"
#include "maintenance/CleanupTab.h"
#include "maintenance/MaintOptionForm.h"
#include "maintenance/RepeatedRecordsTab.h"
#include "screens/PictureButtons.h"
#include "screens/WindowPlacement.h"

#include <QHBoxLayout>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace papyrant {

MaintenanceForm::MaintenanceForm(Bibliography& bibliography, AutoRemoveOptions& autoRemove, QWidget* parent)
    : WorkingScreen(ScreenKind::Maintenance, bibliography, parent)
    , m_autoRemove(autoRemove)
{
    setObjectName(QStringLiteral("MaintenanceForm"));
    // The options dialog lies outside the locked content, so it stays usable while the
    // screen waits for it.
    m_options = new MaintOptionForm(this);
    m_options->edit(autoRemove);
    m_content = new QWidget(this);
    // Auto remove locks the content alone, as the options dialog does.
    setWorkArea(m_content);
    m_tabs = new QTabWidget(m_content);
    m_tabs->setObjectName(QStringLiteral("Tab1"));
    m_repeated = new RepeatedRecordsTab(bibliography, autoRemove, ticks(), m_tabs);
    m_cleanup = new CleanupTab(bibliography, ticks(), m_tabs);
    m_tabs->addTab(m_repeated, QStringLiteral("Remove repeated records"));
    m_tabs->addTab(m_cleanup, QStringLiteral("Cleanup"));
    m_help = pictureButton(
        m_content, "Command9", QStyle::SP_MessageBoxQuestion, QStringLiteral("Help"), ButtonWords::Beside);
    m_back = pictureButton(
        m_content, "Command3", QStyle::SP_ArrowBack, QStringLiteral("Back to control panel"), ButtonWords::Beside);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_help);
    buttons->addWidget(m_back);
    auto* contentLayout = new QVBoxLayout(m_content);
    contentLayout->addWidget(m_tabs, 1);
    contentLayout->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_content);

    connect(m_repeated, &RepeatedRecordsTab::inputLocked, this, &MaintenanceForm::lockInput);
    connect(m_repeated, &RepeatedRecordsTab::optionsRequested, this, &MaintenanceForm::showOptions);
    connect(m_options, &MaintOptionForm::accepted, this, [this](const AutoRemoveOptions& edited) {
        m_autoRemove = edited;
        lockInput(false);
    });
    connect(m_tabs, &QTabWidget::currentChanged, this, &MaintenanceForm::tabChanged);
    connect(m_help, &QToolButton::clicked, this, &MaintenanceForm::helpClicked);
    connect(m_back, &QToolButton::clicked, this, &WorkingScreen::backToControlPanel);

    setWindowTitle(windowCaption(ScreenKind::Maintenance, bibliography.BibName()));
    resize(960, 640);
}

bool MaintenanceForm::acceptsInput() const
{
    return m_content->isEnabled();
}

void MaintenanceForm::lockInput(bool locked)
{
    m_content->setEnabled(!locked);
}

void MaintenanceForm::showOptions()
{
    lockInput(true);
    showCentredOver(m_options, this);
}

void MaintenanceForm::tabChanged(int index)
{
    if (index == 1)
        m_cleanup->refreshLists();
}

void MaintenanceForm::helpClicked()
{
    showHelp(m_tabs->currentIndex() <= 0 ? QStringLiteral("/HMaintenanceR.htm") : QStringLiteral("/HMaintenanceC.htm"));
}

} // namespace papyrant
