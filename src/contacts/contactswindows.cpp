#include "contacts/contactswindows.h"

#include "core/windows/windowregistry.h"

#include <QWidget>

void InstallContactsWindows(WindowRegistry& windows) {
    // Each window of this folder is one line here, as it is built:
    //   windows.Register(WindowKind::Contact, [](QWidget* owner) { return new <its class>(owner);
    //   });
    Q_UNUSED(windows);
}
