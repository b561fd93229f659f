#pragma once

#include "platform/directory/contactrecord.h"
#include "platform/directory/directoryrights.h"
#include "platform/directory/userrights.h"
#include "platform/directory/usersettings.h"

#include <QString>

#include <memory>

class DirectoryStorage;

// A contact or user of the directory. Handed out as a shared object: callers keep it while
// a window shows it. Changing a field only marks it Modified; KVDirectory::SaveContact stores.
class DirectoryContact {
public:
    DirectoryContact() = default;
    DirectoryContact(ContactRecord record, std::weak_ptr<DirectoryStorage> storage,
                     QString usersFolder);

    qint32 Reference() const { return r_.reference; }
    const QString& Name() const { return r_.name; }
    const QString& Company() const { return r_.company; }
    const QString& Email1() const { return r_.email1; }
    const QString& Email2() const { return r_.email2; }
    const QString& Email3() const { return r_.email3; }
    const QString& PhoneNumber1() const { return r_.phoneNumber1; }
    const QString& PhoneNumber2() const { return r_.phoneNumber2; }
    const QString& MobileNumber() const { return r_.mobileNumber; }
    const QString& OtherNumber() const { return r_.otherNumber; }
    // Lines joined by CR LF.
    const QString& Address() const { return r_.address; }
    // A free text kept with the contact; like the address, only in the whole record.
    const QString& Notes() const { return r_.notes; }
    const QString& LoginName() const { return r_.loginName; }
    bool IsUser() const { return !r_.loginName.isEmpty(); }
    qint32 OwnerReference() const { return r_.ownerReference; }
    qint32 ContactListValue() const { return r_.contactListValue; }
    bool HasPassword() const { return r_.passwordSet; }
    bool IsFullRecord() const { return r_.full; }

    void SetName(const QString& v) { change(r_.name, v); }
    void SetCompany(const QString& v) { change(r_.company, v); }
    void SetEmail1(const QString& v) { change(r_.email1, v); }
    void SetEmail2(const QString& v) { change(r_.email2, v); }
    void SetEmail3(const QString& v) { change(r_.email3, v); }
    void SetPhoneNumber1(const QString& v) { change(r_.phoneNumber1, v); }
    void SetPhoneNumber2(const QString& v) { change(r_.phoneNumber2, v); }
    void SetMobileNumber(const QString& v) { change(r_.mobileNumber, v); }
    void SetOtherNumber(const QString& v) { change(r_.otherNumber, v); }
    void SetAddress(const QString& v) {
        change(r_.address, v);
        r_.full = true;
    }
    void SetNotes(const QString& v) {
        change(r_.notes, v);
        r_.notesRead = true;
    }
    void SetLoginName(const QString& v) { change(r_.loginName, v.trimmed()); }
    void SetOwnerReference(qint32 v);
    void SetContactListValue(qint32 v);

    ::DirectoryRights DirectoryRights() const { return ::DirectoryRights(r_.directoryRights); }
    ::UserRights UserRights() const { return ::UserRights(r_.userRights); }
    void SetDirectoryRights(const ::DirectoryRights& rights);
    void SetUserRights(const ::UserRights& rights);

    // The per-user store; reads defaults and stores nothing for a contact not saved.
    ::UserSettings Settings() const { return ::UserSettings(storage_, r_.reference); }

    // The user's own folder, without a trailing separator, made on first use; "" for a
    // contact that is not a saved user or when the folder cannot be made.
    QString PersonalFolder() const;

    bool Modified() const { return modified_; }
    void SetModified(bool on) { modified_ = on; }

    // A summary of at most maxLength characters: name, company, address, numbers and
    // e-mail addresses that are set. multiLine joins them by CR LF, otherwise by ", ".
    QString DetailsText(int maxLength, bool multiLine) const;

    // Fills <OCP_<prefix>_REFERENCE>, _NAME, _COMPANY, _LOGINNAME, _ADDRESS (lines joined by
    // <br>), _ADDRESSSTRING (lines joined by ", "), _EMAIL, _PHONE, _MOBILE and _OTHERNUMBER,
    // every occurrence, matched as written, each value HTML-escaped. An empty contact fills
    // them all with empty text (REFERENCE is empty while the contact is unsaved).
    QString ReplaceTags(const QString& text, const QString& prefix) const;

    const ContactRecord& Record() const { return r_; }
    void SetRecord(const ContactRecord& record) { r_ = record; }
    // The change counter of the stored row this copy was read from (or last stored as).
    qint64 ChangeCount() const { return r_.changeCount; }
    void SetChangeCount(qint64 count) { r_.changeCount = count; }
    // The first non-empty e-mail address, in the order 1, 2, 3.
    QString PrimaryEmail() const;
    static QStringList AddressLines(const QString& address);

private:
    void change(QString& field, const QString& value) {
        if (field != value) {
            field = value;
            modified_ = true;
        }
    }

    ContactRecord r_;
    std::weak_ptr<DirectoryStorage> storage_;
    QString usersFolder_;
    bool modified_ = false;
};
