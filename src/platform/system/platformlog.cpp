#include "platform/system/platformlog.h"

#include <QDebug>

namespace {
PlatformLogHandler& handler() {
    static PlatformLogHandler h;
    return h;
}
} // namespace

void SetPlatformLogHandler(PlatformLogHandler h) {
    handler() = std::move(h);
}

void PlatformLog(const QString& text, int level) {
    if (handler()) {
        handler()(text, level);
        return;
    }
    qWarning().noquote() << text;
}
