#pragma once
// A picture that reacts to the mouse like a button: it reports pointer movement over
// it (the panel's hover) and clicks.

#include <QLabel>

namespace papyrant {

class PictureButton : public QLabel {
    Q_OBJECT
public:
    explicit PictureButton(const QString& objectName, QWidget* parent);

signals:
    void pointerMoved();
    void clicked();

protected:
    void enterEvent(QEnterEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};

// A plain picture (background, banner) that reports pointer movement over it.
class TrackedPicture : public QLabel {
    Q_OBJECT
public:
    explicit TrackedPicture(const QString& objectName, QWidget* parent);

signals:
    void pointerMoved();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

} // namespace papyrant
