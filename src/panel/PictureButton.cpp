#include "panel/PictureButton.h"

#include <QMouseEvent>

namespace papyrant {

PictureButton::PictureButton(const QString& objectName, QWidget* parent)
    : QLabel(parent)
{
    setObjectName(objectName);
    setMouseTracking(true);
    setAlignment(Qt::AlignCenter);
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
