#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class DirectoryStorage;

// One row of a list of contacts: what a list line shows, and the row's place in the order.
struct ContactListRow {
    qint32 reference = 0;
    QString name;
    QString company;
    // The stored folded name: with the reference, the key of the list's order.
    QString fold;
};

// The contacts a list shows, in the order of every list of the directory (folded name, then
// reference), read a few rows at a time so that nothing grows with the directory's size:
// every contact, the users, or those whose name holds a text (any case), as FindContacts finds
// them and through the same indexes.
//
// Nothing is read until asked. Count reads how many rows there are and chooses how the rows
// are read: a result of few rows is held as its references (read in order once), any other is
// walked in the name index from the nearest row whose key is known (a neighbouring row's, one
// found by reference, the first or the last), counting off only the rows between. No
// read transaction spans two calls: another computer's save is never held up by a list, so a
// later call sees the directory as it is then.
class ContactListing {
public:
    // A result of at most this many rows is held as its references: cheaper than walking the
    // name index past the many rows a rare term does not find.
    static constexpr qint64 kHeldMost = 8192;

    // search is compared as typed, trimmed by the caller; "" lists every contact of the kind.
    // A search finding at most heldMost rows is held (the users always are).
    ContactListing(std::shared_ptr<DirectoryStorage> storage, bool usersOnly, QString search,
                   qint64 heldMost = kHeldMost);
    ~ContactListing();

    bool UsersOnly() const { return usersOnly_; }
    const QString& Search() const { return search_; }

    // How many rows the list has now; -1 when the directory could not be read.
    qint64 Count();
    // Up to count rows from row first, in order (fewer at the end, or when contacts were removed
    // since the count: a held reference no longer stored gives a row of reference 0). previous
    // is the row before first and next the row after the last, when the caller knows them: the
    // rows are then found from that key instead of counted off from the top.
    QList<ContactListRow> Rows(qint64 first, int count, const ContactListRow* previous,
                               const ContactListRow* next);
    // The row of a contact, -1 when it is not listed.
    qint64 RowOf(qint32 reference);
    // The first row at or after from (at, the row there, when known), else from the top, whose
    // folded name begins with the folded prefix; -1 when none does.
    qint64 FirstBeginningWith(const QString& prefix, qint64 from, const ContactListRow* at);
    // The rows whose folded name is the folded text's, found through the name index, in order,
    // at most most of them: each row's number and name.
    QList<std::pair<qint64, QString>> RowsNamed(const QString& text, int most);

private:
    // The rows' condition and its values, without the name index's own order.
    QString where() const;
    QVariantList whereValues() const;
    QString conjoined(const QString& more) const;
    QList<ContactListRow> rowsOf(const std::vector<qint32>& references);
    qint64 rowOfKey(const QString& fold, qint32 reference);
    // Up to count rows in order from the row after (the rows after key) or before key, skipping
    // skip rows first.
    QList<ContactListRow> walk(const ContactListRow* key, bool after, qint64 skip, int count,
                               bool inclusive = false);
    void learn(qint64 row, const ContactListRow& at);

    struct Known {
        QString fold;
        QByteArray order; // the folded name as the index orders it: its UTF-8 bytes
        qint32 reference = 0;
    };
    // The known row nearest below the key (as the index orders keys), if any.
    std::optional<std::pair<qint64, const Known*>> knownBelow(const QString& fold,
                                                              qint32 reference) const;

    std::shared_ptr<DirectoryStorage> storage_;
    bool usersOnly_;
    QString search_;
    qint64 heldMost_;
    QString fold_;
    bool counted_ = false;
    bool held_ = false;
    std::vector<qint32> references_; // the held result, in order
    qint64 count_ = 0;
    // Rows whose key was read since the count, by their row: a page near one of them is read
    // from its key instead of counted off from the top.
    std::map<qint64, Known> known_;
};
