#pragma once

#include <QDialog>

#include <memory>

class DirectoryContact;
class KVDirectory;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;

// The directory's login dialog: login name and password. A directory without users offers
// to create the first user instead, who gets every right. OK keeps the dialog open until the
// directory accepts; the close box is Cancel.
class DirectoryLoginDialog : public QDialog {
    Q_OBJECT
public:
    // The login name offered is loginName, or the computer's account when it is empty.
    DirectoryLoginDialog(KVDirectory& directory, const QString& productName,
                         QWidget* owner = nullptr, const QString& loginName = QString());
    ~DirectoryLoginDialog() override;

    bool IsFirstUser() const { return firstUser_; }
    // The user the directory accepted; nothing until then.
    std::shared_ptr<DirectoryContact> User() const { return user_; }

private Q_SLOTS:
    void onOK();

private:
    // Another computer made the first user meanwhile: ask for a login instead.
    void switchToLogin();

    KVDirectory& directory_;
    bool firstUser_ = false;
    std::shared_ptr<DirectoryContact> user_;
    QLineEdit* txtName_ = nullptr;
    QLineEdit* txtLoginName_ = nullptr;
    QLineEdit* txtPassword_ = nullptr;
    QLineEdit* txtConfirm_ = nullptr;
    QLabel* lblPrompt_ = nullptr;
    QLabel* lblPasswordNote_ = nullptr;
    QFormLayout* form_ = nullptr;
};
