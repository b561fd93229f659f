#include "core/windows/contactopener.h"

#include "core/debuglog.h"

namespace {
OpenContactHook& hook() {
    static OpenContactHook h;
    return h;
}
} // namespace

OpenContactHook SetOpenContactHook(OpenContactHook newHook) {
    OpenContactHook old = std::move(hook());
    hook() = std::move(newHook);
    return old;
}

QWidget* OpenContactThroughHook(const KVDirectory::ContactPtr& contact, int modal) {
    if (!contact) {
        return nullptr;
    }
    if (!hook()) {
        DebugLog(QStringLiteral("No contact window can be opened yet: contact %1 not shown")
                     .arg(contact->Reference()),
                 5);
        return nullptr;
    }
    return hook()(contact, modal);
}
