#pragma once

#include <QDialog>
#include <QString>

#include <optional>

class QDialogButtonBox;
class QLineEdit;

// Asks for the address of the link the body's selection becomes. Only web and mail
// addresses (http, https, mailto) can be confirmed: a listener's "javascript:" or a local
// file must never end up behind a presenter's click.
class LinkDialog : public QDialog {
    Q_OBJECT
public:
    explicit LinkDialog(const QString& address, QWidget* owner = nullptr);

    QString Address() const;
    QLineEdit* AddressBox() const { return address_; }
    QDialogButtonBox* Buttons() const { return buttons_; }

private:
    void addressChanged();

    QLineEdit* address_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

// Shows the dialog through the dialog seam, filled with current; the confirmed address, or
// nothing when cancelled.
std::optional<QString> AskLinkAddress(const QString& current, QWidget* owner);
