#include "platform/ui/profilemanagement.h"

#include "platform/system/profilemanager.h"
#include "platform/system/registrystore.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/messagebox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

ProfileManagementDialog::ProfileManagementDialog(const QString& profilesKey,
                                                 const QString& profileInUse, QWidget* owner)
    : QDialog(owner), key_(profilesKey), inUse_(profileInUse) {
    setObjectName(QStringLiteral("frmProfileManagement"));
    setWindowTitle(QStringLiteral("Profile Management"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Profiles:")));
    lstProfiles_ = new QListWidget;
    lstProfiles_->setObjectName(QStringLiteral("lstProfiles"));
    layout->addWidget(lstProfiles_);
    auto* addRow = new QHBoxLayout;
    txtName_ = new QLineEdit;
    txtName_->setObjectName(QStringLiteral("txtName"));
    auto* cmdAdd = new QPushButton(QStringLiteral("&Add"));
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    cmdAdd->setAutoDefault(false);
    addRow->addWidget(txtName_, 1);
    addRow->addWidget(cmdAdd);
    layout->addLayout(addRow);
    lblProblem_ = new QLabel;
    lblProblem_->setObjectName(QStringLiteral("lblProblem"));
    layout->addWidget(lblProblem_);
    auto* buttons = new QHBoxLayout;
    auto* cmdDelete = new QPushButton(QStringLiteral("&Delete"));
    cmdDelete->setObjectName(QStringLiteral("cmdDelete"));
    cmdDelete->setAutoDefault(false);
    auto* cmdClose = new QPushButton(QStringLiteral("Close"));
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setAutoDefault(false);
    buttons->addWidget(cmdDelete);
    buttons->addStretch(1);
    buttons->addWidget(cmdClose);
    layout->addLayout(buttons);

    connect(cmdAdd, &QPushButton::clicked, this, [this] { addProfile(); });
    connect(txtName_, &QLineEdit::returnPressed, this, [this] { addProfile(); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { deleteProfile(); });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    refresh();
}

void ProfileManagementDialog::refresh() {
    lstProfiles_->clear();
    lstProfiles_->addItems(ProfileManager::Profiles(key_));
}

void ProfileManagementDialog::addProfile() {
    const QString name = txtName_->text();
    QString reason;
    if (!ProfileManager::IsValidProfileName(name, &reason)) {
        lblProblem_->setText(QStringLiteral("This name cannot be used: ") + reason +
                             QLatin1Char('.'));
        return;
    }
    for (const QString& existing : ProfileManager::Profiles(key_)) {
        if (existing.compare(name, Qt::CaseInsensitive) == 0) {
            lblProblem_->setText(QStringLiteral("This name cannot be used: there is a profile '") +
                                 existing + QStringLiteral("' already."));
            return;
        }
    }
    if (!ProfileManager::CreateProfile(key_, name)) {
        lblProblem_->setText(QStringLiteral("The profile '") + name +
                             QStringLiteral("' could not be created."));
        return;
    }
    lblProblem_->clear();
    txtName_->clear();
    refresh();
}

void ProfileManagementDialog::deleteProfile() {
    const QListWidgetItem* item = lstProfiles_->currentItem();
    if (item == nullptr) {
        return;
    }
    const QString name = item->text();
    if (name.compare(inUse_, Qt::CaseInsensitive) == 0) {
        MsgBox(QStringLiteral("The profile '") + name +
                   QStringLiteral("' is in use and cannot be deleted."),
               MsgIcon::Exclamation, MsgButtons::OK, 0, this);
        return;
    }
    if (MsgBox(QStringLiteral("Do you want to delete the profile '") + name + QStringLiteral("'?"),
               MsgIcon::Question, MsgButtons::YesNo, 1, this) != MsgResult::Yes) {
        return;
    }
    RegistryStore::DeleteKey(RegistryRoot::LocalMachine, key_ + QLatin1Char('\\') + name);
    refresh();
}

void ProfileManager::ManageProfiles(const QString& profilesKey, QWidget* owner,
                                    const QString& profileInUse) {
    DialogInstance<ProfileManagementDialog> dialog(profilesKey, profileInUse, owner);
    RunDialog(*dialog.get(), true);
}
