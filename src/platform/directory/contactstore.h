#pragma once

#include "platform/directory/contactfilter.h"
#include "platform/directory/contactrecord.h"

#include <QByteArray>
#include <QList>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

class DirectoryStorage;

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
    // The address is written only from a full record, so a light one never blanks it.
    bool Update(const ContactRecord& record);
    bool Remove(qint32 reference);
    bool LoginNameTaken(const QString& loginName, qint32 exceptReference, bool* taken);

    // The light records of the contacts that meet any of the criteria, each handed to keep as
    // it is read, in no order; returns the order of the look-ups here (name, then reference)
    // as the indices of the records in the order keep took them (see PutInOrder). ok False
    // when the query failed. The caller keeps what it makes of each record where it is, so a
    // search of thousands never builds and moves a list of whole records.
    std::vector<qsizetype> Find(const QList<ContactCriterion>& criteria, bool* ok,
                                const std::function<void(ContactRecord&&)>& keep);
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
    QList<ContactRecord> list(const QString& where, const QList<QVariant>& values, bool* ok);
    // The light records sql selects (kLightColumns and then the folded name, in no order)
    // handed to keep, and their order: see Find.
    std::vector<qsizetype> readInNameOrder(const QString& sql, const QList<QVariant>& values,
                                           bool* ok,
                                           const std::function<void(ContactRecord&&)>& keep);

    DirectoryStorage& s_;
};

// Puts list in order, where order[i] is the index of the item that belongs at i (as Find gives
// it): one cycle of the permutation at a time, swapping items in place.
template <typename T> void PutInOrder(QList<T>& list, std::vector<qsizetype> order) {
    for (qsizetype start = 0; start < qsizetype(order.size()); ++start) {
        qsizetype at = start;
        while (order[at] != start) {
            const qsizetype from = order[at];
            std::swap(list[at], list[from]);
            order[at] = at;
            at = from;
        }
        order[at] = at;
    }
}
