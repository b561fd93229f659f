#pragma once

#include "platform/directory/contactfilter.h"
#include "platform/directory/contactmaker.h"
#include "platform/directory/contactrecord.h"

#include <QByteArray>
#include <QList>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class DirectoryStorage;
class SqliteStatement;

// The stored password of a user: a salted PBKDF2 hash, or nothing.
struct StoredPassword {
    QByteArray hash;
    QByteArray salt;
    int iterations = 0;
    bool IsSet() const { return !hash.isEmpty(); }
};

// A contact as a list of names shows it.
struct ContactName {
    qint32 reference = 0;
    QString name;
};

// The SQL of the contacts table. Callers own the transaction around every change.
class ContactStore {
public:
    explicit ContactStore(DirectoryStorage& storage) : s_(storage) {}

    std::optional<ContactRecord> Load(qint32 reference, bool full);
    // Login names compare without regard to case.
    std::optional<ContactRecord> LoadByLoginName(const QString& loginName);
    // Sets record.reference to the new row's.
    bool Insert(ContactRecord& record);
    // The address is written only from a full record, so a light one never blanks it. Only a
    // row that still has the record's change counter is written; the counter is raised, in the
    // row and the record.
    bool Update(ContactRecord& record);
    bool Remove(qint32 reference);
    bool LoginNameTaken(const QString& loginName, qint32 exceptReference, bool* taken);

    // The contacts that meet any of the criteria, each made of its light record by make (see
    // ContactMaker: possibly on another thread), in the order of the look-ups here (name, then
    // reference). ok False when the query failed.
    QList<std::shared_ptr<DirectoryContact>> Find(const QList<ContactCriterion>& criteria, bool* ok,
                                                  const ContactMaker::Make& make);
    // A name search in a large directory is read in ranges of references at once (see
    // findByNamePart): ranges of kRangeReferences, or kMostParts ranges where that would make
    // more. The index costs something for each range searched, whatever it finds, so the ranges
    // are few; enough of them that a thread slowed by other work leaves its share to the
    // others. A directory of fewer than two ranges' references is searched on one thread.
    static constexpr quint64 kRangeReferences = 32768;
    static constexpr quint64 kMostParts = 16;

    QList<ContactRecord> FindByPhoneDigits(const QString& digits);
    // The statement a look-up runs for a WHERE clause (" WHERE ..." or ""), and the clause of
    // the phone look-up with its four bound digits.
    static QString ListSql(const QString& where);
    static QString PhoneDigitsWhere();
    QList<ContactRecord> Users();
    QList<ContactRecord> All();
    // Reference and name alone, in the order of the look-ups above: the 16 columns of a light
    // record cost most of the time of a whole directory's list.
    QList<ContactName> Names(bool usersOnly);
    int CountUsers();
    // Users other than exceptReference who may manage users (change the directory settings
    // and save users); -1 when the query failed.
    int CountUserManagers(qint32 exceptReference);

    StoredPassword Password(qint32 reference);
    bool SetPassword(qint32 reference, const StoredPassword& password);

private:
    // A search's rows as read, in no order: each row's folded name (the column after
    // ContactLightRow's) and its contact.
    struct FoundRows {
        std::string folds; // one after another
        std::vector<std::pair<std::size_t, std::size_t>> spans;
        std::vector<std::shared_ptr<DirectoryContact>> made;

        // The row's folded name; its contact is made by the caller.
        void Add(const SqliteStatement& row);
    };

    QList<ContactRecord> list(const QString& where, const QList<QVariant>& values, bool* ok);
    // The contacts whose folded name holds a part of three or more characters, found through
    // the name index; values are the index's match and the part.
    QList<std::shared_ptr<DirectoryContact>> findByNamePart(const QList<QVariant>& values, bool* ok,
                                                            const ContactMaker::Make& make);
    // The found rows, gathered in one, in name order: see Find.
    static QList<std::shared_ptr<DirectoryContact>> inNameOrder(std::vector<FoundRows> found);
    // The contacts made of the rows sql selects (ContactLightRow's columns and then the
    // folded name, in no order), put in order: see Find.
    QList<std::shared_ptr<DirectoryContact>> readInNameOrder(const QString& sql,
                                                             const QList<QVariant>& values,
                                                             bool* ok,
                                                             const ContactMaker::Make& make);

    DirectoryStorage& s_;
};
