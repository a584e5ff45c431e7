#pragma once
// The hourglass pointer for as long as the object lives. Timer-driven runs keep one in a
// std::optional member from their start to their end; a failure that ends the run early
// resets it like any other end, so the pointer is always restored.

#include <QApplication>

namespace papyrant {

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace papyrant
