#include "contacts/contactsaverules.h"

#include "platform/directory/directorycontact.h"

namespace ContactSaveRules {

QString NotLoggedInText() {
    return QStringLiteral(
        "You must be logged in to the Kestova Directory before you can save any Contacts");
}
QString NoPersonalRightText() {
    return QStringLiteral("You do not have the nescessary Security Permissions to save Personal "
                          "Contacts into the Directory");
}
QString NoContactsRightText() {
    return QStringLiteral(
        "You do not have the nescessary Security Permissions to save Contacts into the Directory");
}
QString NoUsersRightText() {
    return QStringLiteral(
        "You do not have the nescessary Security Permissions to save Users into the Directory");
}
QString OwnRecordText() {
    return QStringLiteral("Any changes made to your details will not take effect until you next "
                          "start this program");
}
QString NoAddressText() {
    return QStringLiteral("This Contact does not have any address details!");
}

Verdict Check(qint32 userReference, const DirectoryRights& rights, qint32 ownerReference,
              const QString& loginName) {
    Verdict verdict;
    if (ownerReference == userReference) {
        if (!rights.CanSavePersonalContacts()) {
            verdict.refusal = NoPersonalRightText();
            return verdict;
        }
    } else if (!rights.CanSaveContacts()) {
        verdict.refusal = NoContactsRightText();
        return verdict;
    }
    verdict.warnUsers = !loginName.isEmpty() && !rights.CanSaveUsers();
    return verdict;
}

QString CloseQuestion(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) {
        return QStringLiteral("Do you want to save the changes you made to this Contact?");
    }
    return QStringLiteral("Do you want to save the changes you made to the Contact '%1'?")
        .arg(trimmed);
}

QString LabelText(const DirectoryContact& contact) {
    if (contact.Address().trimmed().isEmpty()) {
        return QString();
    }
    QString text = contact.Name();
    if (!contact.Company().isEmpty()) {
        text += QStringLiteral("\r\n") + contact.Company();
    }
    return text + QStringLiteral("\r\n") + contact.Address();
}

} // namespace ContactSaveRules
