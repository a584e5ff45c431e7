#include "screens/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace papyrant {

namespace {

// Set once a window has been given its first place.
constexpr char Placed[] = "papyrantPlaced";

QRect availableAround(const QRect& over)
{
    const QScreen* screen = QGuiApplication::screenAt(over.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : over;
}

} // namespace

QPoint centredPlacement(QSize size, const QRect& over, const QRect& available)
{
    const QPoint centred = over.center() - QPoint(size.width() / 2, size.height() / 2);
    // Pushed back from the right and bottom edges first, so a window larger than the
    // screen keeps its top-left corner (and title bar) on it.
    const int x = std::max(available.left(), std::min(centred.x(), available.right() + 1 - size.width()));
    const int y = std::max(available.top(), std::min(centred.y(), available.bottom() + 1 - size.height()));
    return {x, y};
}

void centreOver(QWidget* window, const QRect& over)
{
    const QRect available = availableAround(over);
    // A window never sized takes its natural size on showing: centre that one.
    if (!window->testAttribute(Qt::WA_Resized))
        window->adjustSize();
    const QSize size = window->size();
    if (size.width() > available.width() || size.height() > available.height())
        window->resize(size.boundedTo(available.size()).expandedTo(window->minimumSize()));
    window->move(centredPlacement(window->frameGeometry().size(), over, available));
}

void showCentredOver(QWidget* window, const QRect& over)
{
    if (!window->property(Placed).toBool()) {
        centreOver(window, over);
        window->setProperty(Placed, true);
    } else if (window->isHidden()) {
        window->move(window->pos());
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void showCentredOver(QWidget* window, const QWidget* caller)
{
    if (caller) {
        showCentredOver(window, caller->frameGeometry());
        return;
    }
    const QScreen* screen = QGuiApplication::primaryScreen();
    showCentredOver(window, screen ? screen->availableGeometry() : QRect(QPoint(0, 0), window->size()));
}

void showInPlace(QWidget* window)
{
    // An explicit place is one the window system keeps; a window it placed itself it
    // may place anew on showing.
    window->move(window->pos());
    window->show();
}

} // namespace papyrant
