#pragma once

#include "platform/directory/directoryrights.h"

#include <QString>

class DirectoryContact;

// The contact window's own checks before it asks the directory to store a contact, and the
// texts it shows. The directory enforces the same rights again when it stores.
namespace ContactSaveRules {

QString NotLoggedInText();
QString NoPersonalRightText();
QString NoContactsRightText();
QString NoUsersRightText();
QString OwnRecordText();
QString NoAddressText();

struct Verdict {
    // Not empty: the save stops here with this exclamation.
    QString refusal;
    // The users warning is shown and the save goes on: the directory decides.
    bool warnUsers = false;
};

// A personal contact of the user (owned by userReference) needs only the personal right;
// every other contact the right to save contacts. A contact with a login name is a user.
Verdict Check(qint32 userReference, const DirectoryRights& rights, qint32 ownerReference,
              const QString& loginName);

// The question asked when a window with unsaved edits closes.
QString CloseQuestion(const QString& name);

// The label for the address-label sheet: the name, the company only when there is one, then
// the address as stored, joined by CR LF. Empty when the address holds nothing but blanks:
// there is no label to print then.
QString LabelText(const DirectoryContact& contact);

} // namespace ContactSaveRules
