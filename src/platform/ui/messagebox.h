#pragma once

#include <QString>

#include <memory>

class QWidget;

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MsgResult { OK, Cancel, Yes, No, Retry, Abort, Ignore };

struct MessageBoxRequest {
    QString text;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::OK;
    // 0-based index of the default button in the order the buttons are named.
    int defaultButton = 0;
    QString caption;
    QWidget* owner = nullptr;
};

// Every message box of the program goes through this interface, so that tests can answer
// them. The Qt implementation shows a QMessageBox; tests install a scripted double.
class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    virtual MsgResult show(const MessageBoxRequest& request) = 0;
};

// The service in use; the Qt one unless another was installed.
MessageBoxService& MessageBoxes();
// Installs a service (nullptr puts the Qt one back) and returns the one it replaces.
std::unique_ptr<MessageBoxService> InstallMessageBoxService(std::unique_ptr<MessageBoxService> s);

// Shows a box captioned with the program's title.
MsgResult MsgBox(const QString& text, MsgIcon icon = MsgIcon::None,
                 MsgButtons buttons = MsgButtons::OK, int defaultButton = 0,
                 QWidget* owner = nullptr);
