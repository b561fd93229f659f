#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>

// Lets pending events run until the condition holds or the deadline passes; the condition's
// last answer is returned. Tests wait on a condition, never on a number of event-loop turns.
template <typename Condition> bool WaitFor(Condition condition, int timeoutMs = 5000) {
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return condition();
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}
