#pragma once

#include "platform/directory/directoryrights.h"
#include "platform/directory/userrights.h"

#include <QDialog>

class DirectoryContact;
class QCheckBox;
class QGroupBox;
class QLineEdit;

// One user's details and rights (a new user also gets a password), or a new password alone.
class DirectoryUserDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { NewUser, EditUser, Password };

    // contact fills the fields in EditUser mode and names the user in Password mode.
    DirectoryUserDialog(Mode mode, const DirectoryContact* contact, QWidget* owner = nullptr);

    Mode DialogMode() const { return mode_; }
    QString Name() const;
    QString LoginName() const;
    QString Password() const;
    ::DirectoryRights DirectoryRights() const;
    ::UserRights UserRights() const;

private Q_SLOTS:
    void onOK();

private:
    QCheckBox* check(QGroupBox* box, const char* name, const QString& text, bool on);

    Mode mode_;
    QLineEdit* txtName_ = nullptr;
    QLineEdit* txtLoginName_ = nullptr;
    QLineEdit* txtPassword_ = nullptr;
    QLineEdit* txtConfirm_ = nullptr;
    QCheckBox* chkChangeDirectorySettings_ = nullptr;
    QCheckBox* chkSaveContacts_ = nullptr;
    QCheckBox* chkSaveUsers_ = nullptr;
    QCheckBox* chkSavePersonalContacts_ = nullptr;
    QCheckBox* chkChangeSettings_ = nullptr;
    QCheckBox* chkSaveMessages_ = nullptr;
    QCheckBox* chkSavePersonalMessages_ = nullptr;
    QCheckBox* chkCreateScripts_ = nullptr;
};
