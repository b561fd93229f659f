#include "platform/messagesdb/messagetable.h"

#include "platform/messagesdb/messagesschema.h"
#include "platform/messagesdb/messagesstorage.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/storeddates.h"
#include "platform/mime/mimelimits.h"
#include "platform/system/platformlog.h"
#include "platform/system/sqlitestatement.h"
#include "platform/system/sqltext.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <optional>
#include <utility>

namespace {
// The texts are read as their stored UTF-8 bytes (see SqlUtf8Text).
const QString kColumns = QStringLiteral(
    "reference, folder, kind, flags, personal_owner, inherited_value, received_utc, sent_utc,"
    " send_after_utc, CAST(subject AS BLOB), CAST(from_text AS BLOB), CAST(to_text AS BLOB),"
    " CAST(cc_text AS BLOB), CAST(body_text AS BLOB)");

} // namespace

namespace {
// SQLite hands every integer over as a 64-bit one: read as such it needs no conversion.
qint32 storedInt(const QVariant& value) {
    return static_cast<qint32>(value.toLongLong());
}
} // namespace

void MessageTable::fromRow(OrlixMessage* message, const QSqlQuery& q, const Storage& storage,
                           const Tree& tree) {
    message->SetReference(storedInt(q.value(0)));
    message->SetFolder(storedInt(q.value(1)));
    message->SetKind(storedInt(q.value(2)));
    message->SetFlags(storedInt(q.value(3)));
    message->SetPersonalOwner(storedInt(q.value(4)));
    message->SetInheritedValue(storedInt(q.value(5)));
    message->SetReceivedDate(StoredDates::FromStoredUtc(q.value(6)));
    message->SetSentDate(StoredDates::FromStoredUtc(q.value(7)));
    message->SetSendAfterDate(StoredDates::FromStoredUtc(q.value(8)));
    MessageColumns columns;
    columns.Subject = SqlUtf8Text(q.value(9));
    columns.From = SqlUtf8Text(q.value(10));
    columns.To = SqlUtf8Text(q.value(11));
    columns.Cc = SqlUtf8Text(q.value(12));
    columns.TextBody = SqlUtf8Text(q.value(13));
    columns.AddressesKnown = false;
    setStored(message, std::move(columns), storage, tree);
}

namespace {
// The same values as storedInt and StoredDates::FromStoredUtc make of the Qt driver's
// variants; anything but the usual whole number goes through the variant itself.
qint32 storedInt(const SqliteStatement& row, int column) {
    return row.IsInteger(column) ? static_cast<qint32>(row.Int64(column))
                                 : storedInt(row.Value(column));
}
QDateTime storedDate(const SqliteStatement& row, int column) {
    if (row.IsInteger(column)) {
        return QDateTime::fromMSecsSinceEpoch(row.Int64(column), Qt::UTC);
    }
    return StoredDates::FromStoredUtc(row.Value(column));
}
} // namespace

void MessageTable::fromRow(OrlixMessage* message, const SqliteStatement& row,
                           const Storage& storage, const Tree& tree) {
    message->SetReference(storedInt(row, 0));
    message->SetFolder(storedInt(row, 1));
    message->SetKind(storedInt(row, 2));
    message->SetFlags(storedInt(row, 3));
    message->SetPersonalOwner(storedInt(row, 4));
    message->SetInheritedValue(storedInt(row, 5));
    message->SetReceivedDate(storedDate(row, 6));
    message->SetSentDate(storedDate(row, 7));
    message->SetSendAfterDate(storedDate(row, 8));
    MessageColumns columns;
    columns.Subject = row.Utf8Text(9);
    columns.From = row.Utf8Text(10);
    columns.To = row.Utf8Text(11);
    columns.Cc = row.Utf8Text(12);
    columns.TextBody = row.Utf8Text(13);
    columns.AddressesKnown = false;
    setStored(message, std::move(columns), storage, tree);
}

void MessageTable::setStored(OrlixMessage* message, MessageColumns columns, const Storage& storage,
                             const Tree& tree) {
    message->setStoredState(storage, std::move(columns), tree);
}

QByteArray MessageTable::StoredBytes(const Storage& storage, qint32 reference) {
    if (!storage || !storage->IsOpen()) {
        return {};
    }
    auto bytes =
        storage->Statement(QStringLiteral("SELECT mime FROM messages WHERE reference = ?"));
    bytes->addBindValue(reference);
    if (!MessagesStorage::Exec(*bytes, "reading a message") || !bytes->next()) {
        return {};
    }
    return bytes->value(0).toByteArray();
}

namespace {
// A null text or byte array would bind as NULL; the columns want empty values.
QVariant text(const QString& s) {
    return s.isNull() ? QVariant(QStringLiteral("")) : QVariant(s);
}
QVariant bytes(const QByteArray& b) {
    return b.isNull() ? QVariant(QByteArray("")) : QVariant(b);
}

QString addressKey(const QStringList& addresses) {
    if (addresses.isEmpty()) {
        return {};
    }
    return QLatin1Char('|') + addresses.join(QLatin1Char('|')) + QLatin1Char('|');
}

// addresses: the row's key of addresses, or nothing to leave the row's own in place.
void bindFields(QSqlQuery& q, const OrlixMessage& m, const std::optional<QString>& addresses) {
    q.addBindValue(m.Folder());
    q.addBindValue(m.Kind());
    q.addBindValue(m.Flags());
    q.addBindValue(m.PersonalOwner());
    q.addBindValue(m.InheritedValue());
    q.addBindValue(StoredDates::ToStored(m.ReceivedDate()));
    q.addBindValue(StoredDates::ToStored(m.SentDate()));
    q.addBindValue(StoredDates::ToStored(m.SendAfterDate()));
    q.addBindValue(text(m.Subject()));
    q.addBindValue(text(m.FromText()));
    q.addBindValue(text(m.ToText()));
    q.addBindValue(text(m.CcText()));
    q.addBindValue(text(m.BodyText()));
    if (addresses) {
        q.addBindValue(text(*addresses));
    }
    q.addBindValue(text(MessageTable::NumberKey(m)));
}
} // namespace

QString MessageTable::Digits(const QString& number) {
    QString digits;
    for (const QChar c : number) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digits += c;
        }
    }
    return digits;
}

QString MessageTable::AddressKey(const OrlixMessage& message) {
    const MessageColumns& columns = message.Columns();
    if (!columns.AddressesKnown) {
        return addressKey(ReadMessageColumns(message.MessageBytes()).Addresses);
    }
    return addressKey(columns.Addresses);
}

QString MessageTable::NumberKey(const OrlixMessage& message) {
    return NumberKey(message.Kind(), message.FromText(), message.ToText());
}

QString MessageTable::NumberKey(qint32 kind, const QString& from, const QString& to) {
    if (kind != OrlixMessage::KindSms) {
        return {};
    }
    QStringList numbers;
    for (const QString& field : {from, to}) {
        for (const QString& part : field.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QString digits = Digits(part);
            if (!digits.isEmpty()) {
                numbers << digits;
            }
        }
    }
    if (numbers.isEmpty()) {
        return {};
    }
    return QLatin1Char('|') + numbers.join(QLatin1Char('|')) + QLatin1Char('|');
}

namespace {
// Past this size a message is read only in part: stored, it would come back cut.
bool tooLarge(const QByteArray& bytes) {
    if (bytes.size() <= mime::kMaxMessageBytes) {
        return false;
    }
    PlatformLog(QStringLiteral("Messages database: a message of %1 bytes is larger than a "
                               "message may be (%2 bytes) and was not stored")
                    .arg(bytes.size())
                    .arg(mime::kMaxMessageBytes));
    return true;
}
} // namespace

bool MessageTable::Insert(const Storage& storage, OrlixMessage& message) {
    const QByteArray stored = message.MessageBytes();
    if (tooLarge(stored)) {
        return false;
    }
    QSqlQuery q = storage->Prepare(QStringLiteral(
        "INSERT INTO messages (folder, kind, flags, personal_owner, inherited_value,"
        " received_utc, sent_utc, send_after_utc, subject, from_text, to_text, cc_text,"
        " body_text, party_addresses, party_numbers, mime)"
        " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    bindFields(q, message, AddressKey(message));
    q.addBindValue(bytes(stored));
    if (!MessagesStorage::Exec(q, "storing a new message")) {
        return false;
    }
    const qint64 reference = q.lastInsertId().toLongLong();
    if (reference <= 0 || reference > 0x7FFFFFFF) {
        return false;
    }
    message.SetReference(static_cast<qint32>(reference));
    return writeParties(storage, message.Reference(), AddressKey(message), NumberKey(message));
}

bool MessageTable::Update(const Storage& storage, const OrlixMessage& message) {
    // Bytes that were never read are unchanged: the row keeps its own.
    const bool withBytes = !message.bytesUnread();
    const QByteArray stored = withBytes ? message.MessageBytes() : QByteArray();
    if (tooLarge(stored)) {
        return false;
    }
    // Columns read with the row are those of the bytes stored: the row's key of addresses
    // stays, rather than one made of columns that do not hold the addresses.
    const bool addressesKnown = message.Columns().AddressesKnown;
    QSqlQuery q = storage->Prepare(
        QStringLiteral("UPDATE messages SET folder = ?, kind = ?, flags = ?, personal_owner = ?,"
                       " inherited_value = ?, received_utc = ?, sent_utc = ?, send_after_utc = ?,"
                       " subject = ?, from_text = ?, to_text = ?, cc_text = ?, body_text = ?,") +
        (addressesKnown ? QStringLiteral(" party_addresses = ?,") : QString()) +
        QStringLiteral(" party_numbers = ?") +
        (withBytes ? QStringLiteral(", mime = ?") : QString()) +
        QStringLiteral(" WHERE reference = ?"));
    bindFields(q, message,
               addressesKnown ? std::optional<QString>(AddressKey(message)) : std::nullopt);
    if (withBytes) {
        q.addBindValue(bytes(stored));
    }
    q.addBindValue(message.Reference());
    if (!MessagesStorage::Exec(q, "storing a message")) {
        return false;
    }
    return q.numRowsAffected() == 1 &&
           writeParties(storage, message.Reference(), AddressKey(message), NumberKey(message));
}

bool MessageTable::MendDerivedColumns(const Storage& storage, qint32 reference, qint32 kind,
                                      const QByteArray& stored) {
    if (stored.isEmpty()) {
        return true;
    }
    const MessageColumns columns = ReadMessageColumns(stored);
    const QString addresses = addressKey(columns.Addresses);
    const QString numbers = NumberKey(kind, columns.From, columns.To);
    QSqlQuery q = storage->Prepare(QStringLiteral(
        "UPDATE messages SET subject = ?, from_text = ?, to_text = ?, cc_text = ?,"
        " body_text = ?, party_addresses = ?, party_numbers = ? WHERE reference = ?"));
    for (const QString* column : {&columns.Subject, &columns.From, &columns.To, &columns.Cc,
                                  &columns.TextBody, &addresses, &numbers}) {
        q.addBindValue(text(*column));
    }
    q.addBindValue(reference);
    return MessagesStorage::Exec(q, "mending a message's columns") &&
           writeParties(storage, reference, addresses, numbers);
}

QString MessageTable::PartiesWhere(const QStringList& addresses, const QStringList& numbers,
                                   qint32 user, QVariantList& values) {
    QStringList terms;
    const std::pair<MessagePartyKind, const QStringList*> keys[] = {
        {MessagePartyKind::Address, &addresses}, {MessagePartyKind::Number, &numbers}};
    for (const auto& [kind, list] : keys) {
        for (const QString& key : *list) {
            terms << QStringLiteral("(kind = ? AND key = ?)");
            values << static_cast<int>(kind) << key;
        }
    }
    values << user;
    return QStringLiteral("reference IN (SELECT message FROM message_parties WHERE ") +
           terms.join(QStringLiteral(" OR ")) +
           QStringLiteral(") AND (personal_owner = 0 OR personal_owner = ?)");
}

bool MessageTable::removeParties(const Storage& storage, qint32 reference) {
    QSqlQuery q = storage->Prepare(QStringLiteral("DELETE FROM message_parties WHERE message = ?"));
    q.addBindValue(reference);
    return MessagesStorage::Exec(q, "forgetting a message's parties");
}

bool MessageTable::writeParties(const Storage& storage, qint32 reference, const QString& addresses,
                                const QString& numbers) {
    if (!removeParties(storage, reference)) {
        return false;
    }
    QSqlQuery q = storage->Prepare(QStringLiteral(
        "INSERT OR IGNORE INTO message_parties (kind, key, message) VALUES (?, ?, ?)"));
    const std::pair<MessagePartyKind, const QString*> keys[] = {
        {MessagePartyKind::Address, &addresses}, {MessagePartyKind::Number, &numbers}};
    for (const auto& [kind, joined] : keys) {
        // As the upgrade reads them: the keys between the bars, the empty ones left out.
        for (const QString& key : joined->split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
            q.addBindValue(static_cast<int>(kind));
            q.addBindValue(key);
            q.addBindValue(reference);
            if (!MessagesStorage::Exec(q, "keeping a message's parties")) {
                return false;
            }
        }
    }
    return true;
}

std::unique_ptr<OrlixMessage> MessageTable::Load(const Storage& storage, qint32 reference,
                                                 const Tree& tree) {
    if (reference <= 0) {
        return nullptr;
    }
    auto q = storage->Statement(QStringLiteral("SELECT ") + kColumns +
                                QStringLiteral(" FROM messages WHERE reference = ?"));
    q->addBindValue(reference);
    if (!MessagesStorage::Exec(*q, "reading a message") || !q->next()) {
        return nullptr;
    }
    auto message = std::make_unique<OrlixMessage>();
    fromRow(message.get(), *q, storage, tree);
    return message;
}

namespace {
// The list's order: newest first by the first date set, the newest row first among equals.
const QString kOrderKey = QLatin1String(kMessageOrderKey);
const QString kOrder =
    QStringLiteral(" ORDER BY ") + kOrderKey + QStringLiteral(" DESC, reference DESC");

QString filtered(const QString& where) {
    return where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where;
}

// The newest limit rows of the filter, picked by their references alone, so that only the
// ones picked are read whole; a folder's rows are picked through the index in its order.
QString newest(const QString& where, int limit) {
    return QStringLiteral(" FROM messages WHERE reference IN (SELECT reference FROM messages") +
           filtered(where) + kOrder + QStringLiteral(" LIMIT ") + QString::number(limit) +
           QLatin1Char(')');
}

// The same rows in no particular order, each with its sort key last. SQLite sorts whole
// rows: on a busy day's list the sort of ten thousand rows spilled to a temporary file and
// cost half the query, where sorting their keys here costs next to nothing.
QString unorderedSql(const QString& where, int limit) {
    const QString select = QStringLiteral("SELECT ") + kColumns + QStringLiteral(", ") + kOrderKey;
    return select +
           (limit > 0 ? newest(where, limit) : QStringLiteral(" FROM messages") + filtered(where));
}
constexpr int kOrderKeyColumn = 14;
} // namespace

QString MessageTable::QuerySql(const QString& where, int limit) {
    const QString select = QStringLiteral("SELECT ") + kColumns;
    if (limit > 0) {
        return select + newest(where, limit) + kOrder;
    }
    return select + QStringLiteral(" FROM messages") + filtered(where) + kOrder;
}

MessageTable::ReadResult MessageTable::read(const Storage& storage, const QString& sql,
                                            const QVariantList& values, const Tree& tree,
                                            std::vector<std::shared_ptr<OrlixMessage>>& out,
                                            std::vector<SortKey>* keys) {
    auto q = storage->Rows(sql);
    const auto failed = [&q] {
        PlatformLog(
            QStringLiteral("Messages database: listing messages failed: %1").arg(q->Error()));
        return ReadResult::Failed;
    };
    if (!q->Prepared() || !q->Bind(values)) {
        return failed();
    }
    // As a Qt query's exec, the first step decides whether the list can be read at all.
    bool more = q->Next();
    if (q->Failed()) {
        return failed();
    }
    while (more) {
        if (keys != nullptr) {
            if (!q->IsInteger(kOrderKeyColumn) || !q->IsInteger(0)) {
                // A date that is not a whole number (another program's row): SQLite's own
                // order of mixed types decides.
                return ReadResult::NotOrdered;
            }
            keys->push_back({q->Int64(kOrderKeyColumn), q->Int64(0)});
        }
        // Made shared here: the lists hold them so, and one allocation serves both.
        auto message = std::make_shared<OrlixMessage>();
        fromRow(message.get(), *q, storage, tree);
        out.push_back(std::move(message));
        more = q->Next();
    }
    if (q->Failed()) {
        // The rows read so far stay the list, as they did when the Qt driver read them.
        PlatformLog(
            QStringLiteral("Messages database: listing messages stopped: %1").arg(q->Error()));
    }
    return ReadResult::Read;
}

bool MessageTable::Query(const Storage& storage, const QString& where, const QVariantList& values,
                         const Tree& tree, std::vector<std::shared_ptr<OrlixMessage>>& out,
                         int limit) {
    std::vector<std::shared_ptr<OrlixMessage>> rows;
    std::vector<SortKey> keys;
    switch (read(storage, unorderedSql(where, limit), values, tree, rows, &keys)) {
    case ReadResult::Failed:
        return false;
    case ReadResult::NotOrdered:
        return read(storage, QuerySql(where, limit), values, tree, out, nullptr) ==
               ReadResult::Read;
    case ReadResult::Read:
        break;
    }
    std::vector<std::size_t> order(rows.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    // References are unique: the order is total, as the statement's ORDER BY makes it.
    std::sort(order.begin(), order.end(), [&keys](std::size_t a, std::size_t b) {
        return keys[a].Date != keys[b].Date ? keys[a].Date > keys[b].Date
                                            : keys[a].Reference > keys[b].Reference;
    });
    out.reserve(out.size() + rows.size());
    for (const std::size_t i : order) {
        out.push_back(std::move(rows[i]));
    }
    return true;
}

bool MessageTable::Delete(const Storage& storage, qint32 reference, bool& found) {
    found = false;
    QSqlQuery q = storage->Prepare(QStringLiteral("DELETE FROM messages WHERE reference = ?"));
    q.addBindValue(reference);
    if (!MessagesStorage::Exec(q, "deleting a message")) {
        return false;
    }
    found = q.numRowsAffected() == 1;
    return removeParties(storage, reference);
}

bool MessageTable::Move(const Storage& storage, qint32 reference, qint32 folder, bool& found) {
    found = false;
    QSqlQuery q =
        storage->Prepare(QStringLiteral("UPDATE messages SET folder = ? WHERE reference = ?"));
    q.addBindValue(folder);
    q.addBindValue(reference);
    if (!MessagesStorage::Exec(q, "moving a message")) {
        return false;
    }
    found = q.numRowsAffected() == 1;
    return true;
}

qint32 MessageTable::Copy(const Storage& storage, qint32 reference, qint32 folder) {
    QSqlQuery q = storage->Prepare(QStringLiteral(
        "INSERT INTO messages (folder, kind, flags, personal_owner, inherited_value,"
        " received_utc, sent_utc, send_after_utc, subject, from_text, to_text, cc_text,"
        " body_text, party_addresses, party_numbers, mime)"
        " SELECT ?, kind, flags, personal_owner, inherited_value, received_utc, sent_utc,"
        " send_after_utc, subject, from_text, to_text, cc_text, body_text, party_addresses,"
        " party_numbers, mime FROM messages WHERE reference = ?"));
    q.addBindValue(folder);
    q.addBindValue(reference);
    if (!MessagesStorage::Exec(q, "copying a message") || q.numRowsAffected() != 1) {
        return 0;
    }
    const qint64 copy = q.lastInsertId().toLongLong();
    if (copy <= 0 || copy > 0x7FFFFFFF) {
        return 0;
    }
    QSqlQuery parties = storage->Prepare(
        QStringLiteral("INSERT OR IGNORE INTO message_parties (kind, key, message)"
                       " SELECT kind, key, ? FROM message_parties WHERE message = ?"));
    parties.addBindValue(copy);
    parties.addBindValue(reference);
    return MessagesStorage::Exec(parties, "keeping a copy's parties") ? static_cast<qint32>(copy)
                                                                      : 0;
}
