#include "screens/WorkingScreen.h"

#include "screens/ReadingOrder.h"
#include "screens/ScreenKit.h"

#include <QCloseEvent>

namespace papyrant {

WorkingScreen::WorkingScreen(ScreenKind kind, Bibliography& bibliography, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_kind(kind)
    , m_bibliography(bibliography)
    , m_busy(this)
    , m_ticks(m_busy)
{
    // Names, tab keys and focus rings for this screen, also where no main installed them.
    installScreenKit();
    followReadingOrder(this);
}

void WorkingScreen::leave(ScreenExit exit)
{
    m_exit = exit;
    close();
    // A refused close leaves the screen open; the next close box is a close box again.
    m_exit = ScreenExit::CloseBox;
}

void WorkingScreen::closeEvent(QCloseEvent* event)
{
    if (m_busy.active()) {
        event->ignore();
        return;
    }
    unloadScreen();
    event->accept();
    screens().screenLeft(m_exit);
}

} // namespace papyrant
