#include "help/Help1.h"

#include "app/Prompts.h"
#include "core/ProgramState.h"
#include "help/HelpOpener.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace papyrant {

namespace {
QPointer<Help1> theHelpWindow;
}

Help1::Help1(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_browser(new QTextBrowser(this))
    , m_back(new QPushButton(QStringLiteral("Back"), this))
    , m_home(new QPushButton(QStringLiteral("Home"), this))
    , m_about(new QPushButton(QStringLiteral("About"), this))
{
    setObjectName(QStringLiteral("Help1"));
    setWindowTitle(QStringLiteral("Help"));
    m_browser->setObjectName(QStringLiteral("WB1"));
    m_back->setObjectName(QStringLiteral("Command1"));
    m_home->setObjectName(QStringLiteral("Command2"));
    m_about->setObjectName(QStringLiteral("Command3"));
    m_browser->setOpenLinks(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_back);
    buttons->addWidget(m_home);
    buttons->addWidget(m_about);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);

    connect(m_back, &QPushButton::clicked, this, &Help1::goBack);
    connect(m_home, &QPushButton::clicked, this, &Help1::goHome);
    connect(m_about, &QPushButton::clicked, this, &Help1::showAbout);
    resize(640, 560);
}

Help1& Help1::instance()
{
    if (!theHelpWindow) {
        theHelpWindow = new Help1;
        theHelpWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    return *theHelpWindow;
}

bool Help1::exists() { return !theHelpWindow.isNull(); }

void Help1::navigate(const QString& fullPath)
{
    m_browser->setSource(QUrl::fromLocalFile(fullPath));
}

void Help1::goBack()
{
    if (m_browser->isBackwardAvailable())
        m_browser->backward();
}

void Help1::goHome()
{
    navigate(programState().HelpPage);
}

void Help1::showAbout()
{
    prompts().message(QStringLiteral("Papyrant\nKeeps bibliographies of literature records."), QStringLiteral("About"),
                      PromptButtons::Ok, PromptIcon::None, PromptButton::Ok);
}

bool showHelp(const QString& pageLeaf)
{
    ProgramState& state = programState();
    try {
        state.HelpPage = programFile(state, pageLeaf);
        Help1& window = Help1::instance();
        window.navigate(state.HelpPage);
        window.hide();
        window.show();
        window.raise();
        window.activateWindow();
        return true;
    } catch (const std::exception&) {
        prompts().notice(QStringLiteral("An error occur at loading help"));
        return false;
    }
}

} // namespace papyrant
