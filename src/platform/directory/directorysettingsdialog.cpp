#include "platform/directory/directorysettingsdialog.h"

#include "platform/directory/directoryuserdialog.h"
#include "platform/directory/kvdirectory.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/messagebox.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
void tell(const QString& refusal, QWidget* owner) {
    MsgBox(refusal, MsgIcon::Exclamation, MsgButtons::OK, 0, owner);
}
} // namespace

DirectorySettingsDialog::DirectorySettingsDialog(KVDirectory& directory, QWidget* owner)
    : QDialog(owner), directory_(directory) {
    setObjectName(QStringLiteral("frmDirectorySettings"));
    setWindowTitle(QStringLiteral("Directory Settings"));
    setModal(true);
    auto* layout = new QHBoxLayout(this);
    lstUsers_ = new QListWidget(this);
    lstUsers_->setObjectName(QStringLiteral("lstUsers"));
    layout->addWidget(lstUsers_, 1);
    auto* column = new QVBoxLayout;
    layout->addLayout(column);
    auto button = [this, column](const char* name, const QString& text) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        column->addWidget(b);
        return b;
    };
    connect(button("cmdAdd", QStringLiteral("&Add User...")), &QPushButton::clicked, this,
            &DirectorySettingsDialog::onAdd);
    connect(button("cmdEdit", QStringLiteral("&Edit User...")), &QPushButton::clicked, this,
            &DirectorySettingsDialog::onEdit);
    connect(button("cmdRemove", QStringLiteral("&Remove User")), &QPushButton::clicked, this,
            &DirectorySettingsDialog::onRemove);
    connect(button("cmdPassword", QStringLiteral("Reset &Password...")), &QPushButton::clicked,
            this, &DirectorySettingsDialog::onPassword);
    column->addStretch();
    connect(button("cmdClose", QStringLiteral("Close")), &QPushButton::clicked, this,
            &QDialog::accept);
    connect(lstUsers_, &QListWidget::itemDoubleClicked, this, &DirectorySettingsDialog::onEdit);
    Refresh();
}

void DirectorySettingsDialog::Refresh() {
    const qint32 keep = selectedReference();
    lstUsers_->clear();
    for (const auto& user : directory_.GetUsers()) {
        auto* item = new QListWidgetItem(
            QStringLiteral("%1 (%2)").arg(user->Name(), user->LoginName()), lstUsers_);
        item->setData(Qt::UserRole, user->Reference());
    }
    if (!SelectUser(keep) && lstUsers_->count() > 0) {
        lstUsers_->setCurrentRow(0);
    }
}

bool DirectorySettingsDialog::SelectUser(qint32 reference) {
    for (int i = 0; i < lstUsers_->count(); ++i) {
        if (lstUsers_->item(i)->data(Qt::UserRole).toInt() == reference) {
            lstUsers_->setCurrentRow(i);
            return true;
        }
    }
    return false;
}

qint32 DirectorySettingsDialog::selectedReference() const {
    const QListWidgetItem* item = lstUsers_->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

void DirectorySettingsDialog::onAdd() {
    DialogInstance<DirectoryUserDialog> dialog(DirectoryUserDialog::Mode::NewUser, nullptr, this);
    if (RunDialog(*dialog.get()) != QDialog::Accepted || !dialog) {
        return;
    }
    auto user = directory_.CreateContact();
    user->SetName(dialog->Name());
    user->SetLoginName(dialog->LoginName());
    user->SetDirectoryRights(dialog->DirectoryRights());
    user->SetUserRights(dialog->UserRights());
    QString refusal;
    if (!directory_.SaveContact(0, *user, &refusal)) {
        tell(refusal, this);
        return;
    }
    if (!dialog->Password().isEmpty() &&
        !directory_.SetPassword(user->Reference(), dialog->Password(), &refusal)) {
        tell(refusal, this);
    }
    Refresh();
    SelectUser(user->Reference());
}

void DirectorySettingsDialog::onEdit() {
    const qint32 reference = selectedReference();
    auto user = directory_.GetContact(reference, true, true);
    if (!user) {
        Refresh();
        return;
    }
    DialogInstance<DirectoryUserDialog> dialog(DirectoryUserDialog::Mode::EditUser, user.get(),
                                               this);
    if (RunDialog(*dialog.get()) != QDialog::Accepted || !dialog) {
        return;
    }
    user->SetName(dialog->Name());
    user->SetLoginName(dialog->LoginName());
    user->SetDirectoryRights(dialog->DirectoryRights());
    user->SetUserRights(dialog->UserRights());
    QString refusal;
    if (!directory_.SaveContact(reference, *user, &refusal)) {
        tell(refusal, this);
    }
    Refresh();
}

void DirectorySettingsDialog::onRemove() {
    const qint32 reference = selectedReference();
    auto user = directory_.GetContact(reference, false, false);
    if (!user) {
        return;
    }
    if (directory_.CurrentUser() && directory_.CurrentUser()->Reference() == reference) {
        tell(QStringLiteral("You cannot remove the user who is logged in"), this);
        return;
    }
    if (MsgBox(QStringLiteral("Remove the user '%1' from the directory?").arg(user->Name()),
               MsgIcon::Question, MsgButtons::YesNo, 1, this) != MsgResult::Yes) {
        return;
    }
    QString refusal;
    if (!directory_.RemoveContact(reference, &refusal)) {
        tell(refusal, this);
    }
    Refresh();
}

void DirectorySettingsDialog::onPassword() {
    const qint32 reference = selectedReference();
    auto user = directory_.GetContact(reference, false, false);
    if (!user) {
        return;
    }
    DialogInstance<DirectoryUserDialog> dialog(DirectoryUserDialog::Mode::Password, user.get(),
                                               this);
    if (RunDialog(*dialog.get()) != QDialog::Accepted || !dialog) {
        return;
    }
    QString refusal;
    if (!directory_.SetPassword(reference, dialog->Password(), &refusal)) {
        tell(refusal, this);
        return;
    }
    MsgBox(QStringLiteral("The password of '%1' has been changed").arg(user->Name()),
           MsgIcon::Information, MsgButtons::OK, 0, this);
}
