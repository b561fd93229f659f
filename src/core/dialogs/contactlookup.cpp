#include "core/dialogs/contactlookup.h"

#include "core/dialogs/contactchoiceline.h"
#include "core/dialogs/goodinputbox.h"
#include "core/program.h"
#include "core/windows/contactopener.h"
#include "platform/directory/contactfilter.h"
#include "platform/directory/kvdirectory.h"
#include "platform/ui/messagebox.h"

#include <QStringList>

namespace {
QList<ContactCriterion> Any(std::initializer_list<ContactField> fields, ContactMatch match,
                            const QString& value) {
    QList<ContactCriterion> out;
    for (const ContactField f : fields) {
        out << ContactCriterion{f, match, value};
    }
    return out;
}

QWidget* FindAndOpen(KVDirectory* directory, const QString& name,
                     const QList<ContactCriterion>& byAddress, QWidget* owner) {
    if (directory == nullptr) {
        return nullptr;
    }
    // A blank value would match everybody: its search does not run.
    KVDirectory::ContactList found;
    if (!byAddress.isEmpty()) {
        found = directory->FindContacts(byAddress);
    }
    const QString trimmedName = name.trimmed();
    if (found.isEmpty() && !trimmedName.isEmpty()) {
        found = directory->FindContacts(
            {ContactCriterion{ContactField::Name, ContactMatch::Contains, trimmedName}});
    }
    if (found.isEmpty()) {
        MsgBox(QStringLiteral("No Contact could be found in the Directory with those details"),
               MsgIcon::Exclamation, MsgButtons::OK, 0, owner);
        return nullptr;
    }

    qint32 reference = 0;
    if (found.size() == 1) {
        reference = found.front()->Reference();
    } else {
        QStringList lines;
        for (const auto& c : found) {
            lines << ContactChoiceLine(c->Name(), c->Company());
        }
        QString chosen;
        int index = -1;
        const bool cancelled = GoodInputBoxListIndex(
            QStringLiteral("There are several people listed in the Contacts Directory with "
                           "those details - please select the Contact to display:"),
            lines.front(), chosen, index, QStringLiteral("Select Contact"), owner, true, lines);
        if (cancelled || chosen.isEmpty() || index < 0 || index >= found.size()) {
            return nullptr;
        }
        reference = found.at(index)->Reference();
    }

    const KVDirectory::ContactPtr contact = directory->GetContact(reference, true, true);
    if (!contact) {
        return nullptr; // removed meanwhile on another studio computer
    }
    return OpenContactThroughHook(contact, 0);
}
} // namespace

QWidget* FindContactByEmail(KVDirectory* directory, const QString& name, const QString& address,
                            QWidget* owner) {
    const QString value = address.trimmed();
    QList<ContactCriterion> byAddress;
    if (!value.isEmpty()) {
        byAddress = Any({ContactField::Email1, ContactField::Email2, ContactField::Email3},
                        ContactMatch::Equals, value);
    }
    return FindAndOpen(directory, name, byAddress, owner);
}

QWidget* FindContactByPhone(KVDirectory* directory, const QString& name, const QString& address,
                            QWidget* owner) {
    const QString value = address.trimmed();
    QList<ContactCriterion> byAddress;
    if (!value.isEmpty()) {
        byAddress = Any(
            {ContactField::PhoneNumber1, ContactField::PhoneNumber2, ContactField::MobileNumber},
            ContactMatch::Contains, value);
    }
    return FindAndOpen(directory, name, byAddress, owner);
}

QWidget* FindContactByEmail(const QString& name, const QString& address, QWidget* owner) {
    return FindContactByEmail(Program::Instance().Directory(), name, address, owner);
}

QWidget* FindContactByPhone(const QString& name, const QString& address, QWidget* owner) {
    return FindContactByPhone(Program::Instance().Directory(), name, address, owner);
}
