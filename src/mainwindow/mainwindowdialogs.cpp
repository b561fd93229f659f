#include "mainwindow/mainwindowdialogs.h"

#include "core/debuglog.h"

#include <array>

namespace {
std::array<OwnedDialogShower, 3>& showers() {
    static std::array<OwnedDialogShower, 3> all;
    return all;
}

QString nameOf(MainWindowDialog which) {
    switch (which) {
    case MainWindowDialog::Settings:
        return QStringLiteral("program settings dialog");
    case MainWindowDialog::About:
        return QStringLiteral("about window");
    case MainWindowDialog::SupportFile:
        return QStringLiteral("support-file window");
    }
    return {};
}
} // namespace

void RegisterMainWindowDialog(MainWindowDialog which, OwnedDialogShower shower) {
    showers()[static_cast<size_t>(which)] = std::move(shower);
}

bool ShowMainWindowDialog(MainWindowDialog which, QWidget* owner) {
    const OwnedDialogShower& shower = showers()[static_cast<size_t>(which)];
    if (!shower) {
        DebugLog(QStringLiteral("The ") + nameOf(which) + QStringLiteral(" is not available"), 5);
        return false;
    }
    shower(owner);
    return true;
}
