#pragma once
// A picture that acts like a button: it reports pointer movement over it (the panel's
// hover) and clicks; Tab reaches it, marked by a ring, and Enter or Space presses it. To a
// screen reader it is a button with its accessible name and a "Press" action.

#include <QLabel>

namespace papyrant {

class PictureButton : public QLabel {
    Q_OBJECT
public:
    explicit PictureButton(const QString& objectName, QWidget* parent);

    // Presses the button as a click does (a screen reader's "Press").
    void press() { emit clicked(); }

signals:
    void pointerMoved();
    // The keyboard moved the focus here (Tab or Shift+Tab).
    void keyboardFocused();
    void clicked();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
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
