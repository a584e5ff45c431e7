#pragma once
// Where the program's windows open: every screen centred over the control panel's place,
// every dialog centred over the window that called it, the control panel centred on its
// screen at start, and a window shown again where it stood when it was hidden. Left to
// the window system, a window without a place of its own may open in a screen corner.

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace papyrant {

// The top-left corner that puts a window of `size` centred over `over`, pushed onto
// `available` where it would run off it (to its top-left corner when it is larger).
QPoint centredPlacement(QSize size, const QRect& over, const QRect& available);

// Centres `window` over `over`, on the screen holding the centre of `over`; a window
// larger than that screen's free area is made to fit it first.
void centreOver(QWidget* window, const QRect& over);

// Shows `window`, raised and active. The first time it is shown through here it is
// centred over `caller` (over the caller's screen when there is no caller); afterwards
// it opens where it stood, also where the user moved it.
void showCentredOver(QWidget* window, const QWidget* caller);
void showCentredOver(QWidget* window, const QRect& over);

// Shows a hidden window again at the place it had, which a window manager would
// otherwise choose anew.
void showInPlace(QWidget* window);

} // namespace papyrant
