#include "platform/ui/commondialogs.h"

#include "platform/ui/qtcommondialogservice.h"

namespace {
std::unique_ptr<CommonDialogService>& current() {
    static std::unique_ptr<CommonDialogService> service;
    return service;
}
} // namespace

CommonDialogService& CommonDialogs() {
    if (!current()) {
        current() = std::make_unique<QtCommonDialogService>();
    }
    return *current();
}

std::unique_ptr<CommonDialogService>
InstallCommonDialogService(std::unique_ptr<CommonDialogService> service) {
    std::unique_ptr<CommonDialogService> old = std::move(current());
    current() = std::move(service);
    return old;
}
