#pragma once
// The program's look over the platform's style: the same style, with one addition. A
// button that shows only a picture has no caption for the style's faint focus mark to
// sit on, so once the keyboard has moved the focus it carries the amber ring the control
// panel's picture buttons wear.

#include <QProxyStyle>

namespace papyrant {

class FocusRingStyle : public QProxyStyle {
    Q_OBJECT
public:
    explicit FocusRingStyle(const QString& baseStyle);

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
        const QWidget* widget = nullptr) const override;

    // The ring's colour, the artwork's amber: it stands out on light and teal faces alike.
    static QColor ringColour();
};

} // namespace papyrant
