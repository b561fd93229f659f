#pragma once

#include "platform/support/supportfilegenerator.h"

#include <QDialog>

class QLineEdit;

// "Personal Details": who the support desk answers. OK keeps the four values in the user's
// store only when the name and the e-mail address are there.
class SupportDetailsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SupportDetailsDialog(const SupportDetails& details, QWidget* owner = nullptr);
    SupportDetails Details() const;
    void accept() override;

    // The details kept for this OS user ("" where none).
    static SupportDetails Load(const QString& section);
    static bool Save(const QString& section, const SupportDetails& details);

private:
    QLineEdit* txtName_ = nullptr;
    QLineEdit* txtOrganisation_ = nullptr;
    QLineEdit* txtEmail_ = nullptr;
    QLineEdit* txtTelephone_ = nullptr;
    QString section_;
};
