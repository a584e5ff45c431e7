#include "screens/ScreenRegistry.h"

#include "screens/WindowPlacement.h"

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

void ScreenRegistry::setControlPanel(QWidget* panel, ReturnHandler onReturn)
{
    m_panel = panel;
    m_onReturn = std::move(onReturn);
}

QWidget* ScreenRegistry::instance(ScreenKind kind, Bibliography& bibliography)
{
    if (QWidget* screen = existing(kind))
        return screen;
    if (!isRegistered(kind))
        return nullptr;
    QWidget* screen = m_factories[kind](bibliography);
    if (!screen)
        return nullptr;
    screen->setAttribute(Qt::WA_DeleteOnClose);
    m_instances[kind] = screen;
    return screen;
}

QWidget* ScreenRegistry::show(ScreenKind kind, Bibliography& bibliography)
{
    QWidget* screen = instance(kind, bibliography);
    if (!screen)
        return nullptr;
    showCentredOver(screen, m_panel.data());
    return screen;
}

void ScreenRegistry::screenLeft(ScreenExit exit)
{
    if (m_ending)
        return;
    if (m_panel && m_onReturn)
        m_onReturn(exit);
    if (exit == ScreenExit::CloseBox) {
        endProgram();
        return;
    }
    if (exit == ScreenExit::BackToExtraction) {
        if (QWidget* extraction = existing(ScreenKind::AutoExtract)) {
            showInPlace(extraction);
            return;
        }
    }
    if (m_panel)
        showInPlace(m_panel);
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

} // namespace papyrant
