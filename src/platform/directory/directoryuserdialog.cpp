#include "platform/directory/directoryuserdialog.h"

#include "platform/directory/directorycontact.h"
#include "platform/directory/directorydialogs.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

DirectoryUserDialog::DirectoryUserDialog(Mode mode, const DirectoryContact* contact, QWidget* owner)
    : QDialog(owner), mode_(mode) {
    setObjectName(QStringLiteral("frmDirectoryUser"));
    setModal(true);
    const QString name = contact ? contact->Name() : QString();
    setWindowTitle(mode == Mode::NewUser    ? QStringLiteral("New User")
                   : mode == Mode::EditUser ? QStringLiteral("User - ") + name
                                            : QStringLiteral("Reset Password - ") + name);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    layout->addLayout(form);
    auto edit = [this, form](const char* objectName, const QString& label, bool secret) {
        return AddDirectoryEdit(*this, *form, objectName, label, secret);
    };
    if (mode != Mode::Password) {
        txtName_ = edit("txtName", QStringLiteral("&Name:"), false);
        txtLoginName_ = edit("txtLoginName", QStringLiteral("&Login name:"), false);
        if (contact) {
            txtName_->setText(contact->Name());
            txtLoginName_->setText(contact->LoginName());
        }
    }
    if (mode != Mode::EditUser) {
        txtPassword_ = edit("txtPassword", QStringLiteral("&Password:"), true);
        txtConfirm_ = edit("txtConfirm", QStringLiteral("&Confirm password:"), true);
        auto* note = new QLabel(QStringLiteral("The password may be left empty: anyone at a studio "
                                               "computer can then log in as this user."),
                                this);
        note->setWordWrap(true);
        layout->addWidget(note);
    }
    if (mode != Mode::Password) {
        const ::DirectoryRights d = contact ? contact->DirectoryRights() : ::DirectoryRights();
        const ::UserRights u = contact ? contact->UserRights() : ::UserRights();
        auto* directoryBox = new QGroupBox(QStringLiteral("Directory rights"), this);
        new QVBoxLayout(directoryBox);
        chkChangeDirectorySettings_ =
            check(directoryBox, "chkChangeDirectorySettings",
                  QStringLiteral("Change the directory settings and users"),
                  d.CanChangeDirectorySettings());
        chkSaveContacts_ = check(directoryBox, "chkSaveContacts", QStringLiteral("Save contacts"),
                                 d.CanSaveContacts());
        chkSaveUsers_ =
            check(directoryBox, "chkSaveUsers", QStringLiteral("Save users"), d.CanSaveUsers());
        chkSavePersonalContacts_ =
            check(directoryBox, "chkSavePersonalContacts", QStringLiteral("Save personal contacts"),
                  d.CanSavePersonalContacts());
        layout->addWidget(directoryBox);
        auto* programBox = new QGroupBox(QStringLiteral("Program rights"), this);
        new QVBoxLayout(programBox);
        chkChangeSettings_ =
            check(programBox, "chkChangeSettings", QStringLiteral("Change the program settings"),
                  u.CanChangeSettings());
        chkSaveMessages_ = check(programBox, "chkSaveMessages", QStringLiteral("Save messages"),
                                 u.CanSaveMessages());
        chkSavePersonalMessages_ =
            check(programBox, "chkSavePersonalMessages", QStringLiteral("Save personal messages"),
                  u.CanSavePersonalMessages());
        chkCreateScripts_ = check(programBox, "chkCreateScripts",
                                  QStringLiteral("Create shared scripts"), u.CanCreateScripts());
        layout->addWidget(programBox);
    }
    AddOkCancel(*this, *layout, [this] { onOK(); });
}

QCheckBox* DirectoryUserDialog::check(QGroupBox* box, const char* name, const QString& text,
                                      bool on) {
    auto* c = new QCheckBox(text, box);
    c->setObjectName(QLatin1String(name));
    c->setChecked(on);
    box->layout()->addWidget(c);
    return c;
}

QString DirectoryUserDialog::Name() const {
    return txtName_ ? txtName_->text().trimmed() : QString();
}

QString DirectoryUserDialog::LoginName() const {
    return txtLoginName_ ? txtLoginName_->text().trimmed() : QString();
}

QString DirectoryUserDialog::Password() const {
    return txtPassword_ ? txtPassword_->text() : QString();
}

::DirectoryRights DirectoryUserDialog::DirectoryRights() const {
    ::DirectoryRights r;
    if (chkChangeDirectorySettings_) {
        r.SetCanChangeDirectorySettings(chkChangeDirectorySettings_->isChecked());
        r.SetCanSaveContacts(chkSaveContacts_->isChecked());
        r.SetCanSaveUsers(chkSaveUsers_->isChecked());
        r.SetCanSavePersonalContacts(chkSavePersonalContacts_->isChecked());
    }
    return r;
}

::UserRights DirectoryUserDialog::UserRights() const {
    ::UserRights r;
    if (chkChangeSettings_) {
        r.SetCanChangeSettings(chkChangeSettings_->isChecked());
        r.SetCanSaveMessages(chkSaveMessages_->isChecked());
        r.SetCanSavePersonalMessages(chkSavePersonalMessages_->isChecked());
        r.SetCanCreateScripts(chkCreateScripts_->isChecked());
    }
    return r;
}

void DirectoryUserDialog::onOK() {
    if (txtName_ &&
        !RequireText(*this, *txtName_, QStringLiteral("Please enter the user's name"))) {
        return;
    }
    if (txtLoginName_ &&
        !RequireText(*this, *txtLoginName_, QStringLiteral("Please enter a login name"))) {
        return;
    }
    if (txtPassword_ && !PasswordsAgree(*this, *txtPassword_, *txtConfirm_)) {
        return;
    }
    accept();
}
