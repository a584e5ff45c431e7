#pragma once
// Tab follows the order a reader takes in a window: the way its layouts lay the controls
// out. A box layout is read item by item (a column inside a row whole before the next
// item), a grid row by row, a form label by field; controls placed by hand are read top
// to bottom, left to right. Where a screen built its controls in another order than they
// stand, Tab still walks them as they stand.

#include <QList>

class QWidget;

namespace papyrant {

// The controls under `root` that take the focus by Tab, in reading order.
QList<QWidget*> readingOrder(QWidget* root);

// Makes Tab walk the window's controls in reading order.
void setReadingTabOrder(QWidget* window);

// Marks `window` so that the screen kit sets its tab order in reading order whenever it
// is shown (after its controls may have changed). See ScreenKit.
void followReadingOrder(QWidget* window);
bool followsReadingOrder(const QWidget* window);

} // namespace papyrant
