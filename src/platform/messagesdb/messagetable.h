#pragma once

#include <QString>
#include <QVariantList>

#include <memory>
#include <vector>

class MessagesStorage;
class QSqlQuery;
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
    static bool Delete(const Storage& storage, qint32 reference, bool& found);
    static bool Move(const Storage& storage, qint32 reference, qint32 folder, bool& found);
    // The new row's Reference, 0 when the message is missing or the copy failed.
    static qint32 Copy(const Storage& storage, qint32 reference, qint32 folder);

    // The matching keys kept for contact look-ups: "|a|b|", lower-case addresses, and the
    // digits of SMS numbers.
    static QString AddressKey(const OrlixMessage& message);
    static QString NumberKey(const OrlixMessage& message);
    static QString Digits(const QString& number);

private:
    static void fromRow(OrlixMessage* message, const QSqlQuery& q, const Storage& storage,
                        const Tree& tree);
};
