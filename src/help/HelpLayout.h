#pragma once
// Where the help window puts its browser, and where the window itself goes. The browser's
// distances are kept in twips, the unit the help window's margins were drawn in (1440 to
// the inch), and turned into pixels at the screen's logical resolution, so the margins
// keep their physical size.

#include "core/Twips.h"

#include <QRect>
#include <QSize>

#include <optional>

namespace papyrant {

constexpr int HelpMinimumHeightTwips = 2500;
constexpr int HelpBrowserWidthMarginTwips = 250;
constexpr int HelpBrowserHeightMarginTwips = 1000;
// The button row sits above the browser; what is left of the height margin lies below it.
constexpr int HelpBrowserTopTwips = 875;

struct HelpLayout {
    // Set when the window is lower than the minimum: the height it must take. The
    // browser is laid out by the resize that follows.
    std::optional<int> clampedHeight;
    QRect browser;
};

// The resize rule for a window of `windowSize` pixels (not minimised) at the given
// horizontal and vertical logical resolutions.
HelpLayout helpLayout(QSize windowSize, qreal dpiX, qreal dpiY);

// Where the help window's frame goes beside the frame of the window that opened it
// (`caller`), on a screen whose free area is `available`, `gap` pixels apart: to the
// right when the whole window fits there, else to the left, else below. When it fits
// on no side whole, the first side that holds `minimum` takes it made smaller; when
// none does, it lies below, pushed up onto the screen. The result always lies wholly
// within `available`.
QRect helpPlacement(const QRect& caller, QSize window, QSize minimum, const QRect& available, int gap);

} // namespace papyrant
