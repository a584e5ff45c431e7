#include "screens/FocusRingStyle.h"

#include <QPainter>
#include <QStyleOption>

namespace papyrant {

namespace {
constexpr qreal RingWidth = 2.5;
} // namespace

FocusRingStyle::FocusRingStyle(const QString& baseStyle)
    : QProxyStyle(baseStyle)
{
}

QColor FocusRingStyle::ringColour()
{
    return QColor(0xe9, 0xa2, 0x3b);
}

void FocusRingStyle::drawComplexControl(
    ComplexControl control, const QStyleOptionComplex* option, QPainter* painter, const QWidget* widget) const
{
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control != CC_ToolButton)
        return;
    // As with the toolkit's own marks: only once the keyboard has moved the focus.
    const QStyle::State wanted = State_HasFocus | State_KeyboardFocusChange;
    if ((option->state & wanted) != wanted)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(ringColour(), RingWidth));
    painter->setBrush(Qt::NoBrush);
    const qreal inset = RingWidth / 2;
    painter->drawRoundedRect(QRectF(option->rect).adjusted(inset, inset, -inset, -inset), 4, 4);
    painter->restore();
}

} // namespace papyrant
