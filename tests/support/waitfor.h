#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>

#include <functional>

// Runs the event loop until condition holds or the deadline passes (QTRY_VERIFY style);
// returns whether it held.
inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 30000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return condition();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(5);
    }
    return true;
}
