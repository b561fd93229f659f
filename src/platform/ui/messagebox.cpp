#include "platform/ui/messagebox.h"

#include "platform/system/appinfo.h"
#include "platform/ui/qtmessageboxservice.h"

namespace {
std::unique_ptr<MessageBoxService>& current() {
    static std::unique_ptr<MessageBoxService> service;
    return service;
}
} // namespace

MessageBoxService& MessageBoxes() {
    if (!current()) {
        current() = std::make_unique<QtMessageBoxService>();
    }
    return *current();
}

std::unique_ptr<MessageBoxService> InstallMessageBoxService(std::unique_ptr<MessageBoxService> s) {
    std::unique_ptr<MessageBoxService> old = std::move(current());
    current() = std::move(s);
    return old;
}

MsgResult MsgBox(const QString& text, MsgIcon icon, MsgButtons buttons, int defaultButton,
                 QWidget* owner) {
    MessageBoxRequest request;
    request.text = text;
    request.icon = icon;
    request.buttons = buttons;
    request.defaultButton = defaultButton;
    request.caption = AppInfo::Title();
    request.owner = owner;
    return MessageBoxes().show(request);
}
