#include "messaging/messagingwindows.h"

#include "core/windows/windowregistry.h"
#include "messaging/frmmessage.h"
#include "messaging/frmsmsmessage.h"
#include "messaging/webbodyeditor.h"

#include <QWidget>

void InstallMessageWindows(WindowRegistry& windows) {
    SetBodyEditorFactory([](QWidget* parent) { return new WebBodyEditor(parent); });
    windows.Register(WindowKind::Email, [](QWidget* owner) { return new frmMessage(owner); });
    windows.Register(WindowKind::Sms, [](QWidget* owner) { return new frmSMSMessage(owner); });
}
