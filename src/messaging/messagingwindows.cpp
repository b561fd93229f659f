#include "messaging/messagingwindows.h"

#include "core/windows/windowregistry.h"

#include <QWidget>

void InstallMessageWindows(WindowRegistry& windows) {
    // Each window of this folder is one line here, as it is built:
    //   windows.Register(WindowKind::Email, [](QWidget* owner) { return new <its class>(owner); });
    Q_UNUSED(windows);
}
