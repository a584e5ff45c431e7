#include "help/HelpLayout.h"

#include <QtMath>

namespace papyrant {

int twipsToPixels(int twips, qreal dotsPerInch) { return qRound(twips * dotsPerInch / 1440.0); }

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
