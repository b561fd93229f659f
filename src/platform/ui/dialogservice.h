#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>
#include <utility>

class QDialog;

// Every dialog of our own (input boxes, choosers, the directory's login and settings dialogs,
// the profile chooser, the print preview) is shown through this one seam, so that tests can
// answer it. Show returns once the dialog has been hidden again (by its OK, Cancel, Esc or
// close box) with its result code: QDialog::Accepted, Rejected, or what the dialog's done()
// was given; Rejected when the dialog went away while it was shown. The Qt implementation runs
// a modal loop, or waits while pending events run for a modeless dialog; tests install one
// scripted double that acts on each dialog as a user would. The desktop's own dialogs (print,
// page set-up, files) go through CommonDialogService instead.
class DialogService {
public:
    virtual ~DialogService() = default;
    virtual int Show(QDialog& dialog, bool modal) = 0;
};

// The service in use; the Qt one unless another was installed.
DialogService& Dialogs();
// Installs a service (nullptr puts the Qt one back) and returns the one it replaces.
std::unique_ptr<DialogService> InstallDialogService(std::unique_ptr<DialogService> service);

// Shows the dialog through the service in use and returns its result code once it is hidden.
int RunDialog(QDialog& dialog, bool modal = true);

// One dialog form for the time of one call: made with the given arguments (its owner, the
// parent, last), released at the end of the scope. The owner going away while the dialog
// runs takes the dialog with it, which this holder survives.
template <typename Form> class DialogInstance {
public:
    template <typename... Args>
    explicit DialogInstance(Args&&... args) : form_(new Form(std::forward<Args>(args)...)) {}
    ~DialogInstance() { delete form_.data(); }
    DialogInstance(const DialogInstance&) = delete;
    DialogInstance& operator=(const DialogInstance&) = delete;

    Form* get() const { return form_.data(); }
    Form* operator->() const { return form_.data(); }
    explicit operator bool() const { return !form_.isNull(); }

private:
    QPointer<Form> form_;
};
