#include "screens/BusyState.h"

#include <QTimer>

namespace papyrant {

BusyState::BusyState(QWidget* screen)
    : m_screen(screen)
{
}

void BusyState::enter(QWidget* hidden)
{
    ++m_run;
    if (hidden) {
        m_hidden = hidden;
        hidden->hide();
    }
    if (m_screen)
        m_screen->setEnabled(false);
    if (!m_cursor)
        m_cursor.emplace();
}

void BusyState::leave()
{
    m_cursor.reset();
    if (m_hidden) {
        m_hidden->show();
        m_hidden.clear();
    }
    if (!m_screen)
        return;
    const int run = m_run;
    QTimer::singleShot(1, m_screen.data(), [this, run] {
        if (run == m_run && !active() && m_screen)
            m_screen->setEnabled(true);
    });
}

} // namespace papyrant
