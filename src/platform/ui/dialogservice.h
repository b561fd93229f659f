#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>

class QDialog;

// Every dialog form of the program is shown through this interface, so that tests can
// answer it. Show returns once the dialog has been hidden again (by its OK, Cancel, Esc or
// close box). The Qt implementation runs a modal loop, or waits while pending events run
// for a modeless dialog; tests install a scripted double that acts on the dialog as a user
// would.
class DialogService {
public:
    virtual ~DialogService() = default;
    virtual void Show(QDialog& dialog, bool modal) = 0;
};

// The service in use; the Qt one unless another was installed.
DialogService& Dialogs();
// Installs a service (nullptr puts the Qt one back) and returns the one it replaces.
std::unique_ptr<DialogService> InstallDialogService(std::unique_ptr<DialogService> service);

// Shows the dialog through the service in use and returns when it is hidden.
void RunDialog(QDialog& dialog, bool modal);

// One dialog form for the time of one call: made with its owner as parent, released at the
// end of the scope. The owner going away while the dialog runs takes the dialog with it,
// which this holder survives.
template <typename Form> class DialogInstance {
public:
    explicit DialogInstance(QWidget* owner) : form_(new Form(owner)) {}
    ~DialogInstance() { delete form_.data(); }
    DialogInstance(const DialogInstance&) = delete;
    DialogInstance& operator=(const DialogInstance&) = delete;

    Form* get() const { return form_.data(); }
    Form* operator->() const { return form_.data(); }
    explicit operator bool() const { return !form_.isNull(); }

private:
    QPointer<Form> form_;
};
