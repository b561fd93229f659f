#pragma once

#include "platform/system/platformlog.h"

#include <QString>

#include <exception>

// A control's event handler runs the owner's code through its signals; no exception may
// leave it into Qt's event loop, so it is logged and the event is over.
template <typename Handler> void GuardEvent(const char* where, Handler&& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        PlatformLog(QStringLiteral("%1 failed: %2")
                        .arg(QLatin1String(where), QString::fromLocal8Bit(e.what())));
    } catch (...) {
        PlatformLog(QStringLiteral("%1 failed").arg(QLatin1String(where)));
    }
}
