// Waiting on a real X display: events processed until a condition holds or time runs out.
#pragma once

#include <functional>

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>

namespace zavota::testing {

inline bool WaitFor(const std::function<bool()>& done, int ms = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

}  // namespace zavota::testing
