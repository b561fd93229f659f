#include "messaging/messagingwindows.h"

#include "core/windows/windowregistry.h"
#include "messaging/frmmessage.h"
#include "messaging/frmsmsmessage.h"

#include <QWidget>

void InstallMessageWindows(WindowRegistry& windows) {
    windows.Register(WindowKind::Email, [](QWidget* owner) { return new frmMessage(owner); });
    windows.Register(WindowKind::Sms, [](QWidget* owner) { return new frmSMSMessage(owner); });
}
