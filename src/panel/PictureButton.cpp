#include "panel/PictureButton.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace papyrant {

namespace {
// The artwork's amber: it stands out on the paper background and on the teal faces alike.
const QColor FocusRingColour(0xe9, 0xa2, 0x3b);
constexpr qreal FocusRingWidth = 2.5;

// What a screen reader sees of a picture button: a button that speaks its name, takes
// the focus and presses by its first action.
class PictureButtonAccessible : public QAccessibleWidget {
public:
    explicit PictureButtonAccessible(PictureButton* button)
        : QAccessibleWidget(button, QAccessible::Button)
    {
    }
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString& action) override
    {
        if (action == pressAction() && widget()->isEnabled())
            static_cast<PictureButton*>(widget())->press();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* pictureButtonAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String(PictureButton::staticMetaObject.className()) && object && object->isWidgetType())
        return new PictureButtonAccessible(static_cast<PictureButton*>(object));
    return nullptr;
}

} // namespace

PictureButton::PictureButton(const QString& objectName, QWidget* parent)
    : QLabel(parent)
{
    setObjectName(objectName);
    setMouseTracking(true);
    setAlignment(Qt::AlignCenter);
    setFocusPolicy(Qt::StrongFocus);
    static const bool accessibleAsButton = (QAccessible::installFactory(pictureButtonAccessible), true);
    Q_UNUSED(accessibleAsButton);
}

void PictureButton::focusInEvent(QFocusEvent* event)
{
    QLabel::focusInEvent(event);
    update();
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        emit keyboardFocused();
}

void PictureButton::focusOutEvent(QFocusEvent* event)
{
    QLabel::focusOutEvent(event);
    update();
}

void PictureButton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        event->accept();
        // Held down, the key presses once.
        if (!event->isAutoRepeat())
            emit clicked();
        return;
    default: QLabel::keyPressEvent(event);
    }
}

void PictureButton::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    // As with the toolkit's own buttons, the ring appears once the keyboard has moved
    // the focus in this window, not for the focus a window hands out when it opens.
    if (!hasFocus() || !window()->testAttribute(Qt::WA_KeyboardFocusChange))
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(FocusRingColour, FocusRingWidth));
    const QRectF ring
        = QRectF(rect()).adjusted(FocusRingWidth / 2, FocusRingWidth / 2, -FocusRingWidth / 2, -FocusRingWidth / 2);
    const qreal radius = ring.width() * 0.22; // a little rounder than the faces' tiles
    painter.drawRoundedRect(ring, radius, radius);
}

void PictureButton::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    emit pointerMoved();
}

void PictureButton::mouseMoveEvent(QMouseEvent* event)
{
    // Taken here: passed on, the panel beneath would read it as the pointer leaving.
    event->accept();
    emit pointerMoved();
}

void PictureButton::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
    event->accept();
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event)
{
    // Like a button: the click counts only when released over the picture.
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    event->accept();
    if (click)
        emit clicked();
}

TrackedPicture::TrackedPicture(const QString& objectName, QWidget* parent)
    : QLabel(parent)
{
    setObjectName(objectName);
    setMouseTracking(true);
}

void TrackedPicture::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    emit pointerMoved();
}

} // namespace papyrant
