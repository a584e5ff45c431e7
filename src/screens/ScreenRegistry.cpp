#include "screens/ScreenRegistry.h"

#include "core/ProgramState.h"
#include "help/Help1.h"
#include "panel/MainForm.h"

#include <QCloseEvent>
#include <QCoreApplication>

namespace papyrant {

void ScreenRegistry::registerScreen(ScreenKind kind, ScreenFactory factory)
{
    m_factories[kind] = std::move(factory);
}

void ScreenRegistry::unregisterScreen(ScreenKind kind)
{
    m_factories.erase(kind);
}

bool ScreenRegistry::isRegistered(ScreenKind kind) const
{
    const auto found = m_factories.find(kind);
    return found != m_factories.end() && found->second;
}

QWidget* ScreenRegistry::existing(ScreenKind kind) const
{
    const auto found = m_instances.find(kind);
    return found == m_instances.end() ? nullptr : found->second.data();
}

void ScreenRegistry::setControlPanel(MainForm* panel)
{
    m_panel = panel;
}

MainForm* ScreenRegistry::controlPanel() const
{
    return m_panel.data();
}

QWidget* ScreenRegistry::instance(ScreenKind kind)
{
    if (QWidget* screen = existing(kind))
        return screen;
    if (!isRegistered(kind))
        return nullptr;
    QWidget* screen = m_factories[kind]();
    if (!screen)
        return nullptr;
    screen->setAttribute(Qt::WA_DeleteOnClose);
    m_instances[kind] = screen;
    return screen;
}

QWidget* ScreenRegistry::show(ScreenKind kind)
{
    QWidget* screen = instance(kind);
    if (!screen)
        return nullptr;
    screen->show();
    screen->raise();
    screen->activateWindow();
    return screen;
}

void ScreenRegistry::endProgram()
{
    if (m_ending)
        return;
    m_ending = true;
    for (auto& [kind, screen] : m_instances) {
        if (screen)
            screen->close();
    }
    if (Help1::exists())
        Help1::instance().close();
    if (m_panel)
        m_panel->close();
    m_ending = false;
    QCoreApplication::quit();
}

ScreenRegistry& screens()
{
    static ScreenRegistry registry;
    return registry;
}

void returnFromScreen(ScreenKind kind)
{
    ScreenRegistry& registry = screens();
    if (registry.ending())
        return;
    ProgramState& state = programState();
    if (state.ReturnToPanel == 0) {
        registry.endProgram();
        return;
    }
    state.ReturnToPanel = 0;
    MainForm* panel = registry.controlPanel();
    if (panel)
        panel->refreshRecordCount();
    if (kind == ScreenKind::ManualAdding && state.ManualFromExtract == 1) {
        state.ManualFromExtract = 0;
        if (QWidget* extract = registry.existing(ScreenKind::AutoExtract)) {
            extract->show();
            return;
        }
    }
    if (panel)
        panel->show();
}

WorkingScreen::WorkingScreen(ScreenKind kind, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_kind(kind)
{
}

void WorkingScreen::backToControlPanel()
{
    programState().ReturnToPanel = 1;
    close();
}

void WorkingScreen::closeEvent(QCloseEvent* event)
{
    if (closeRefused()) {
        event->ignore();
        return;
    }
    unloadScreen();
    event->accept();
    returnFromScreen(m_kind);
}

} // namespace papyrant
