#include "help/HelpLayout.h"

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

} // namespace papyrant
