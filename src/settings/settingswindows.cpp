#include "settings/settingswindows.h"

#include "core/windows/windowregistry.h"

#include <QWidget>

void InstallSettingsWindows(WindowRegistry& windows) {
    // Each window of this folder is one line here, as it is built:
    //   windows.Register(WindowKind::About, [](QWidget* owner) { return new <its class>(owner); });
    Q_UNUSED(windows);
}
