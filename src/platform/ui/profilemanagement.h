#pragma once

#include <QDialog>

class QLineEdit;
class QLabel;
class QListWidget;
class QPushButton;

// The profiles under one key of the machine store, to add and delete. There is no rename:
// the client's own tree of the same name would be left behind.
class ProfileManagementDialog : public QDialog {
    Q_OBJECT
public:
    ProfileManagementDialog(const QString& profilesKey, const QString& profileInUse,
                            QWidget* owner = nullptr);

private:
    void refresh();
    void addProfile();
    void deleteProfile();

    QString key_;
    QString inUse_;
    QListWidget* lstProfiles_ = nullptr;
    QLineEdit* txtName_ = nullptr;
    QLabel* lblProblem_ = nullptr;
};
