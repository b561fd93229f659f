#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <functional>

// The one way a test waits: lets events run until the condition holds or the deadline passes,
// and says whether it held (QTRY_VERIFY style). The loop sleeps until an event comes; a short
// tick wakes it too, for conditions no event announces (a file another process writes).
// A test that checks that nothing more happens passes a short timeout and expects false.
inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 30000) {
    const QDeadlineTimer deadline(timeoutMs);
    QTimer tick;
    tick.start(5);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return condition();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}
