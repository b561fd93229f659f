#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <memory>
#include <vector>

class MessagesStorage;
class QSqlQuery;
class SqliteStatement;
struct MessageColumns;
class OrlixCategoryTree;
class OrlixMessage;

// The statements on the messages table. None of them opens a transaction: the caller holds
// one around each change.
class MessageTable {
public:
    using Storage = std::shared_ptr<MessagesStorage>;
    using Tree = std::weak_ptr<const OrlixCategoryTree>;

    // A new row; the message then has its Reference.
    static bool Insert(const Storage& storage, OrlixMessage& message);
    // False when no row has the message's Reference.
    static bool Update(const Storage& storage, const OrlixMessage& message);
    static std::unique_ptr<OrlixMessage> Load(const Storage& storage, qint32 reference,
                                              const Tree& tree);
    // The rows matching a WHERE condition with its bound values ("" = every row), newest
    // first; the message bytes are read when first asked for. limit > 0: only the newest
    // limit rows.
    static bool Query(const Storage& storage, const QString& where, const QVariantList& values,
                      const Tree& tree, std::vector<std::shared_ptr<OrlixMessage>>& out,
                      int limit = 0);
    // The statement Query runs for a WHERE condition; limit 0 reads every row.
    static QString QuerySql(const QString& where, int limit = 0);
    // A stored message's bytes; empty when the row or the store is gone.
    static QByteArray StoredBytes(const Storage& storage, qint32 reference);
    static bool Delete(const Storage& storage, qint32 reference, bool& found);
    static bool Move(const Storage& storage, qint32 reference, qint32 folder, bool& found);
    // The new row's Reference, 0 when the message is missing or the copy failed.
    static qint32 Copy(const Storage& storage, qint32 reference, qint32 folder);

    // The matching keys kept for contact look-ups: "|a|b|", lower-case addresses, and the
    // digits of SMS numbers.
    static QString AddressKey(const OrlixMessage& message);
    static QString NumberKey(const OrlixMessage& message);
    static QString NumberKey(qint32 kind, const QString& from, const QString& to);
    // Writes the columns and keys read out of a row's own bytes over the ones it holds.
    static bool MendDerivedColumns(const Storage& storage, qint32 reference, qint32 kind,
                                   const QByteArray& stored);
    static QString Digits(const QString& number);
    // The condition of the messages one of whose parties has one of the keys (lower-case
    // addresses, numbers' digits), found through the parties index, and which are not another
    // user's personal messages; its values are appended to values.
    static QString PartiesWhere(const QStringList& addresses, const QStringList& numbers,
                                qint32 user, QVariantList& values);

private:
    // The message's parties index, written anew from its two keys; kept with the row.
    static bool writeParties(const Storage& storage, qint32 reference, const QString& addresses,
                             const QString& numbers);
    static bool removeParties(const Storage& storage, qint32 reference);
    enum class ReadResult { Read, Failed, NotOrdered };
    // A row's place in the list: its first date set, then its reference.
    struct SortKey {
        qint64 Date = 0;
        qint64 Reference = 0;
    };
    // The rows of sql into out; with keys, each row's sort key from the statement's last
    // column (NotOrdered when one is not a whole number).
    static ReadResult read(const Storage& storage, const QString& sql, const QVariantList& values,
                           const Tree& tree, std::vector<std::shared_ptr<OrlixMessage>>& out,
                           std::vector<SortKey>* keys);
    static void fromRow(OrlixMessage* message, const QSqlQuery& q, const Storage& storage,
                        const Tree& tree);
    static void fromRow(OrlixMessage* message, const SqliteStatement& row, const Storage& storage,
                        const Tree& tree);
    // The columns, and the bytes read when first asked for.
    static void setStored(OrlixMessage* message, MessageColumns columns, const Storage& storage,
                          const Tree& tree);
};
