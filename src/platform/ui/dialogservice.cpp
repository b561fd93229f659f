#include "platform/ui/dialogservice.h"

#include "platform/ui/qtdialogservice.h"

namespace {
std::unique_ptr<DialogService>& current() {
    static std::unique_ptr<DialogService> service;
    return service;
}
} // namespace

DialogService& Dialogs() {
    if (!current()) {
        current() = std::make_unique<QtDialogService>();
    }
    return *current();
}

std::unique_ptr<DialogService> InstallDialogService(std::unique_ptr<DialogService> service) {
    std::unique_ptr<DialogService> old = std::move(current());
    current() = std::move(service);
    return old;
}

int RunDialog(QDialog& dialog, bool modal) {
    return Dialogs().Show(dialog, modal);
}
