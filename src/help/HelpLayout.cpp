#include "help/HelpLayout.h"

#include <array>

namespace papyrant {

HelpLayout helpLayout(QSize windowSize, qreal dpiX, qreal dpiY)
{
    HelpLayout layout;
    const int minimumHeight = twipsToPixels(HelpMinimumHeightTwips, dpiY);
    if (windowSize.height() < minimumHeight) {
        layout.clampedHeight = minimumHeight;
        return layout;
    }
    const int left = twipsToPixels(HelpBrowserWidthMarginTwips / 2, dpiX);
    const int top = twipsToPixels(HelpBrowserTopTwips, dpiY);
    const int width = windowSize.width() - twipsToPixels(HelpBrowserWidthMarginTwips, dpiX);
    const int height = windowSize.height() - twipsToPixels(HelpBrowserHeightMarginTwips, dpiY);
    layout.browser = QRect(left, top, qMax(0, width), qMax(0, height));
    return layout;
}

QRect helpPlacement(const QRect& caller, QSize window, QSize minimum, const QRect& available, int gap)
{
    const QSize whole = window.boundedTo(available.size());
    // The free part of the screen on each side of the caller, in the order they are tried.
    const std::array<QRect, 3> rooms{
        QRect(QPoint(caller.right() + 1 + gap, available.top()), available.bottomRight()),
        QRect(available.topLeft(), QPoint(caller.left() - 1 - gap, available.bottom())),
        QRect(QPoint(available.left(), caller.bottom() + 1 + gap), available.bottomRight()),
    };
    // Aimed at the caller's top-left corner and pushed into the room, the window lands
    // against the caller's edge on that side and level with it along the other axis.
    const auto placeIn = [](const QRect& room, QPoint aim, QSize size) {
        return QRect(QPoint(qBound(room.left(), aim.x(), room.right() - size.width() + 1),
                         qBound(room.top(), aim.y(), room.bottom() - size.height() + 1)),
            size);
    };
    const auto holds
        = [](const QRect& room, QSize size) { return room.width() >= size.width() && room.height() >= size.height(); };
    for (const QRect& room : rooms) {
        if (holds(room, whole))
            return placeIn(room, caller.topLeft(), whole);
    }
    for (const QRect& room : rooms) {
        if (holds(room, minimum))
            return placeIn(room, caller.topLeft(), whole.boundedTo(room.size()));
    }
    return placeIn(available, QPoint(caller.left(), caller.bottom() + 1 + gap), whole);
}

} // namespace papyrant
