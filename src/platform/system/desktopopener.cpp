#include "platform/system/desktopopener.h"

#include "platform/system/platformlog.h"

#include <QDesktopServices>

namespace {
DesktopOpenerFunction& opener() {
    static DesktopOpenerFunction f;
    return f;
}
} // namespace

bool OpenWithDesktop(const QUrl& url) {
    const bool opened = opener() ? opener()(url) : QDesktopServices::openUrl(url);
    if (!opened) {
        PlatformLog(QStringLiteral("The desktop could not open '") + url.toString() +
                    QLatin1Char('\''));
    }
    return opened;
}

void SetDesktopOpener(DesktopOpenerFunction f) {
    opener() = std::move(f);
}
