#include "playout/link/retrytimer.h"

QtRetryTimer::QtRetryTimer() {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { Fire(); });
}
