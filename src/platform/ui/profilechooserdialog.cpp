#include "platform/ui/profilechooserdialog.h"

#include "platform/system/appinfo.h"
#include "platform/system/profilemanager.h"
#include "platform/ui/dialogservice.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

ProfileChooserDialog::ProfileChooserDialog(const QStringList& profiles, const QString& proposed,
                                           QWidget* owner)
    : QDialog(owner) {
    setWindowTitle(AppInfo::Title() + QStringLiteral(" - Choose Profile"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* prompt =
        new QLabel(profiles.isEmpty() ? QStringLiteral("No profile exists on this computer yet. "
                                                       "Name the profile to create:")
                                      : QStringLiteral("Choose the profile to work with:"),
                   this);
    prompt->setWordWrap(true);
    layout->addWidget(prompt);

    list_ = new QListWidget(this);
    list_->addItems(profiles);
    list_->setVisible(!profiles.isEmpty());
    layout->addWidget(list_);

    auto* newLabel = new QLabel(QStringLiteral("&New profile:"), this);
    newName_ = new QLineEdit(proposed, this);
    newName_->setMaxLength(64);
    newLabel->setBuddy(newName_);
    layout->addWidget(newLabel);
    layout->addWidget(newName_);

    problem_ = new QLabel(this);
    problem_->setWordWrap(true);
    layout->addWidget(problem_);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, [this] {
        if (!choice().isEmpty()) {
            accept();
        }
    });
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::currentRowChanged, this, [this] {
        if (list_->currentRow() >= 0) {
            newName_->clear();
        }
        updateState();
    });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { buttons_->accepted(); });
    connect(newName_, &QLineEdit::textEdited, this, [this] {
        if (!newName_->text().isEmpty()) {
            list_->setCurrentRow(-1);
        }
        updateState();
    });
    if (!profiles.isEmpty()) {
        list_->setCurrentRow(0);
        list_->setFocus();
    } else {
        newName_->setFocus();
        newName_->selectAll();
    }
    updateState();
}

QString ProfileChooserDialog::choice() const {
    const QString typed = newName_->text().trimmed();
    if (!typed.isEmpty()) {
        return ProfileManager::IsValidProfileName(typed) ? typed : QString();
    }
    const QListWidgetItem* item = list_->currentItem();
    return item != nullptr && list_->currentRow() >= 0 ? item->text() : QString();
}

void ProfileChooserDialog::updateState() {
    QString reason;
    const QString typed = newName_->text().trimmed();
    if (!typed.isEmpty() && !ProfileManager::IsValidProfileName(typed, &reason)) {
        problem_->setText(QStringLiteral("This name cannot be used: ") + reason + QLatin1Char('.'));
    } else {
        problem_->clear();
    }
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(!choice().isEmpty());
}

QString ProfileChooserDialog::Ask(const QStringList& profiles, const QString& proposed,
                                  QWidget* owner) {
    DialogInstance<ProfileChooserDialog> dialog(profiles, proposed, owner);
    const int result = RunDialog(*dialog.get());
    return result == QDialog::Accepted && dialog ? dialog->choice() : QString();
}
