// The wait cursor for the lifetime of the object, during long work.
#ifndef PARCHLY_PLATFORM_WAIT_CURSOR_H
#define PARCHLY_PLATFORM_WAIT_CURSOR_H

#include <QApplication>
#include <QCursor>

namespace parchly {

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace parchly

#endif
