#include "platform/directory/directorylogindialog.h"

#include "platform/directory/directorydialogs.h"
#include "platform/directory/kvdirectory.h"
#include "platform/directory/systemuser.h"
#include "platform/ui/messagebox.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

DirectoryLoginDialog::DirectoryLoginDialog(KVDirectory& directory, const QString& productName,
                                           QWidget* owner, const QString& loginName)
    : QDialog(owner), directory_(directory), firstUser_(directory.UserCount() == 0) {
    setObjectName(QStringLiteral("frmDirectoryLogin"));
    setWindowTitle(productName.isEmpty() ? QStringLiteral("Login")
                                         : productName + QStringLiteral(" - Login"));
    setModal(true);

    auto* layout = new QVBoxLayout(this);
    auto* prompt = lblPrompt_ = new QLabel(this);
    prompt->setObjectName(QStringLiteral("lblPrompt"));
    prompt->setWordWrap(true);
    layout->addWidget(prompt);

    auto* form = form_ = new QFormLayout;
    layout->addLayout(form);
    auto edit = [this, form](const char* name, const QString& label, bool secret) {
        return AddDirectoryEdit(*this, *form, name, label, secret);
    };
    if (firstUser_) {
        prompt->setText(QStringLiteral("The directory has no users yet. Please create the first "
                                       "user: they will be given every right, and can then add "
                                       "the station's other users."));
        txtName_ = edit("txtName", QStringLiteral("&Name:"), false);
    } else {
        prompt->setText(QStringLiteral("Please enter your login name and password."));
    }
    txtLoginName_ = edit("txtLoginName", QStringLiteral("&Login name:"), false);
    txtLoginName_->setText(loginName.isEmpty() ? SystemUserName() : loginName);
    txtPassword_ = edit("txtPassword", QStringLiteral("&Password:"), true);
    if (firstUser_) {
        txtConfirm_ = edit("txtConfirm", QStringLiteral("&Confirm password:"), true);
        auto* note = lblPasswordNote_ = new QLabel(
            QStringLiteral("The password may be left empty: anyone at this computer can then "
                           "log in as this user without one."),
            this);
        note->setObjectName(QStringLiteral("lblPasswordNote"));
        note->setWordWrap(true);
        layout->addWidget(note);
    }

    AddOkCancel(*this, *layout, [this] { onOK(); });

    (firstUser_ ? txtName_ : (txtLoginName_->text().isEmpty() ? txtLoginName_ : txtPassword_))
        ->setFocus();
}

DirectoryLoginDialog::~DirectoryLoginDialog() = default;

void DirectoryLoginDialog::onOK() {
    const QString login = txtLoginName_->text().trimmed();
    if (firstUser_ &&
        !RequireText(*this, *txtName_, QStringLiteral("Please enter the name of the first user"))) {
        return;
    }
    if (!RequireText(*this, *txtLoginName_, QStringLiteral("Please enter a login name"))) {
        return;
    }
    QString refusal;
    if (firstUser_) {
        if (!PasswordsAgree(*this, *txtPassword_, *txtConfirm_)) {
            return;
        }
        user_ = directory_.CreateFirstUser(txtName_->text(), login, txtPassword_->text(), &refusal);
        if (!user_ && directory_.UserCount() > 0) {
            MsgBox(refusal, MsgIcon::Exclamation, MsgButtons::OK, 0, this);
            switchToLogin();
            return;
        }
    } else {
        user_ = directory_.Authenticate(login, txtPassword_->text(), &refusal);
    }
    if (!user_) {
        MsgBox(refusal, MsgIcon::Exclamation, MsgButtons::OK, 0, this);
        txtPassword_->clear();
        if (txtConfirm_) {
            txtConfirm_->clear();
        }
        txtPassword_->setFocus();
        return;
    }
    accept();
}

void DirectoryLoginDialog::switchToLogin() {
    firstUser_ = false;
    form_->setRowVisible(txtName_, false);
    form_->setRowVisible(txtConfirm_, false);
    lblPasswordNote_->hide();
    lblPrompt_->setText(QStringLiteral("Please enter your login name and password."));
    txtPassword_->clear();
    txtConfirm_->clear();
    txtPassword_->setFocus();
}
