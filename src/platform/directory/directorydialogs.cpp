#include "platform/directory/directorydialogs.h"

#include "platform/ui/messagebox.h"

#include <QBoxLayout>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

QLineEdit* AddDirectoryEdit(QDialog& dialog, QFormLayout& form, const char* name,
                            const QString& label, bool secret) {
    auto* edit = new QLineEdit(&dialog);
    edit->setObjectName(QLatin1String(name));
    if (secret) {
        edit->setEchoMode(QLineEdit::Password);
    }
    form.addRow(label, edit);
    return edit;
}

void AddOkCancel(QDialog& dialog, QBoxLayout& layout, const std::function<void()>& onOK) {
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    layout.addWidget(buttons);
    QObject::connect(ok, &QPushButton::clicked, &dialog, onOK);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
}

bool RequireText(QDialog& dialog, QLineEdit& edit, const QString& request) {
    if (!edit.text().trimmed().isEmpty()) {
        return true;
    }
    MsgBox(request, MsgIcon::Exclamation, MsgButtons::OK, 0, &dialog);
    edit.setFocus();
    return false;
}

bool PasswordsAgree(QDialog& dialog, QLineEdit& password, QLineEdit& confirm) {
    if (password.text() == confirm.text()) {
        return true;
    }
    MsgBox(QStringLiteral("The two passwords are not the same - please enter them again"),
           MsgIcon::Exclamation, MsgButtons::OK, 0, &dialog);
    password.clear();
    confirm.clear();
    password.setFocus();
    return false;
}
