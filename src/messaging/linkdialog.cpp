#include "messaging/linkdialog.h"

#include "platform/ui/dialogservice.h"
#include "platform/web/webeditor.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

LinkDialog::LinkDialog(const QString& address, QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("LinkDialog"));
    setWindowTitle(QStringLiteral("Hyperlink"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("&Address:"), this);
    address_ = new QLineEdit(this);
    address_->setObjectName(QStringLiteral("txtAddress"));
    address_->setPlaceholderText(QStringLiteral("https://"));
    label->setBuddy(address_);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(label);
    layout->addWidget(address_);
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, [this] {
        if (WebEditor::IsLinkAllowed(Address())) {
            accept();
        }
    });
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(address_, &QLineEdit::textChanged, this, &LinkDialog::addressChanged);
    address_->setText(address.trimmed());
    address_->selectAll();
    addressChanged();
    setMinimumWidth(360);
}

QString LinkDialog::Address() const {
    return address_->text().trimmed();
}

void LinkDialog::addressChanged() {
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(WebEditor::IsLinkAllowed(Address()));
}

std::optional<QString> AskLinkAddress(const QString& current, QWidget* owner) {
    DialogInstance<LinkDialog> dialog(current, owner);
    if (RunDialog(*dialog.get()) != QDialog::Accepted || !dialog) {
        return std::nullopt;
    }
    const QString address = dialog->Address();
    if (!WebEditor::IsLinkAllowed(address)) {
        return std::nullopt;
    }
    return address;
}
