#include "platform/support/supportdetailsdialog.h"

#include "platform/system/registrystore.h"
#include "platform/ui/messagebox.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
QString detailsKey(const QString& section) {
    return QStringLiteral("SOFTWARE\\Kestova\\Support\\") + section;
}
} // namespace

SupportDetailsDialog::SupportDetailsDialog(const SupportDetails& details, QWidget* owner)
    : QDialog(owner) {
    setObjectName(QStringLiteral("SupportDetailsDialog"));
    setWindowTitle(QStringLiteral("Personal Details"));
    auto* form = new QFormLayout;
    auto line = [&](const char* name, const QString& caption, const QString& value) {
        auto* edit = new QLineEdit(value, this);
        edit->setObjectName(QLatin1String(name));
        form->addRow(caption, edit);
        return edit;
    };
    txtName_ = line("txtName", QStringLiteral("&Name:"), details.Name);
    txtOrganisation_ =
        line("txtOrganisation", QStringLiteral("&Organisation:"), details.Organisation);
    txtEmail_ = line("txtEmail", QStringLiteral("&E-mail address:"), details.EmailAddress);
    txtTelephone_ = line("txtTelephone", QStringLiteral("&Telephone:"), details.Telephone);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

SupportDetails SupportDetailsDialog::Details() const {
    return {txtName_->text().trimmed(), txtOrganisation_->text().trimmed(),
            txtEmail_->text().trimmed(), txtTelephone_->text().trimmed()};
}

void SupportDetailsDialog::accept() {
    if (!SupportDetailsComplete(Details())) {
        MsgBox(QStringLiteral("You must enter your name and a valid e-mail address"),
               MsgIcon::Exclamation, MsgButtons::OK, 0, this);
        return;
    }
    QDialog::accept();
}

SupportDetails SupportDetailsDialog::Load(const QString& section) {
    const QString key = detailsKey(section);
    auto read = [&](const char* name) {
        return RegistryStore::ReadString(RegistryRoot::CurrentUser, key, QLatin1String(name), {});
    };
    return {read("Name"), read("Organisation"), read("EmailAddress"), read("Telephone")};
}

bool SupportDetailsDialog::Save(const QString& section, const SupportDetails& details) {
    const QString key = detailsKey(section);
    bool ok = true;
    auto write = [&](const char* name, const QString& value) {
        ok = RegistryStore::WriteString(RegistryRoot::CurrentUser, key, QLatin1String(name),
                                        value) &&
             ok;
    };
    write("Name", details.Name);
    write("Organisation", details.Organisation);
    write("EmailAddress", details.EmailAddress);
    write("Telephone", details.Telephone);
    return ok;
}
