#include "platform/messagesdb/columnsmend.h"

#include "platform/messagesdb/messagesschema.h"
#include "platform/messagesdb/messagesstorage.h"
#include "platform/messagesdb/messagetable.h"
#include "platform/system/platformlog.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <vector>

namespace {
// How much of a row's bytes is looked at for its headers; a header block longer than this is
// mended all the same when its key is blank.
constexpr int kHeadBytes = 65536;

// An earlier version read the columns wrongly from rows with a blank key of addresses (a
// message read back and stored again) and from the fields it kept verbatim beside their
// header (an SMS to several numbers).
bool needsMend(const QString& addresses, QByteArray head) {
    if (addresses.isEmpty()) {
        return true;
    }
    const qsizetype end =
        head.indexOf("\n\r\n") >= 0 ? head.indexOf("\n\r\n") : head.indexOf("\n\n");
    if (end >= 0) {
        head.truncate(end);
    }
    head = head.toLower();
    return head.startsWith("x-orlix-") || head.contains("\nx-orlix-");
}

struct Row {
    qint32 Reference = 0;
    qint32 Kind = 0;
};

enum class Batch { Done, More, Failed };

Batch mendBatch(const std::shared_ptr<MessagesStorage>& storage, int batchRows, int batchMs,
                int& mended) {
    MessagesTransaction tx(*storage);
    if (!tx.Active()) {
        return Batch::Failed;
    }
    // Read under the lock: another computer may have gone on with the mend meanwhile.
    QSqlQuery place =
        storage->Prepare(QStringLiteral("SELECT value FROM orlix_meta WHERE name = ?"));
    place.addBindValue(QLatin1String(kColumnsMendSetting));
    if (!MessagesStorage::Exec(place, "reading where the mend of columns stands")) {
        return Batch::Failed;
    }
    if (!place.next()) {
        return Batch::Done;
    }
    const qint64 after = place.value(0).toLongLong();
    place.finish();

    QSqlQuery rows = storage->Prepare(QStringLiteral(
        "SELECT reference, kind, CAST(party_addresses AS TEXT), substr(mime, 1, ?) FROM messages"
        " WHERE reference > ? ORDER BY reference LIMIT ?"));
    rows.addBindValue(kHeadBytes);
    rows.addBindValue(after);
    rows.addBindValue(batchRows);
    if (!MessagesStorage::Exec(rows, "listing the rows the mend of columns looks at")) {
        return Batch::Failed;
    }
    std::vector<Row> toMend;
    qint64 last = after;
    int seen = 0;
    while (rows.next()) {
        ++seen;
        last = rows.value(0).toLongLong();
        if (needsMend(rows.value(2).toString(), rows.value(3).toByteArray())) {
            toMend.push_back(
                {static_cast<qint32>(last), static_cast<qint32>(rows.value(1).toLongLong())});
        }
    }
    rows.finish();

    QElapsedTimer clock;
    clock.start();
    bool more = seen == batchRows;
    for (const Row& row : toMend) {
        const QByteArray bytes = MessageTable::StoredBytes(storage, row.Reference);
        // A row without bytes keeps the keys it has: there is nothing better to read them from.
        if (!bytes.isEmpty() &&
            !MessageTable::MendDerivedColumns(storage, row.Reference, row.Kind, bytes)) {
            return Batch::Failed;
        }
        ++mended;
        if (clock.elapsed() >= batchMs && row.Reference != toMend.back().Reference) {
            // The rest of this batch is looked at again by the next one.
            last = row.Reference;
            more = true;
            break;
        }
    }

    QSqlQuery mark =
        storage->Prepare(more ? QStringLiteral("UPDATE orlix_meta SET value = ? WHERE name = ?")
                              : QStringLiteral("DELETE FROM orlix_meta WHERE name = ?"));
    if (more) {
        mark.addBindValue(QString::number(last));
    }
    mark.addBindValue(QLatin1String(kColumnsMendSetting));
    if (!MessagesStorage::Exec(mark, "keeping where the mend of columns stands") || !tx.Commit()) {
        return Batch::Failed;
    }
    return more ? Batch::More : Batch::Done;
}
} // namespace

bool MendDerivedColumns(const std::shared_ptr<MessagesStorage>& storage, int batchRows, int batchMs,
                        ColumnsMendReport* report) {
    {
        // Most opens find nothing to do: they take no write lock for it.
        QSqlQuery pending =
            storage->Prepare(QStringLiteral("SELECT 1 FROM orlix_meta WHERE name = ?"));
        pending.addBindValue(QLatin1String(kColumnsMendSetting));
        if (!MessagesStorage::Exec(pending, "looking for a mend of columns")) {
            return false;
        }
        if (!pending.next()) {
            return true;
        }
    }
    int mended = 0;
    int batches = 0;
    for (;;) {
        QElapsedTimer clock;
        clock.start();
        const Batch batch = mendBatch(storage, batchRows, batchMs, mended);
        if (report != nullptr) {
            report->LongestTransactionMs = std::max(report->LongestTransactionMs, clock.elapsed());
            report->Mended = mended;
            report->Transactions = batches + 1;
        }
        if (batch == Batch::Failed) {
            PlatformLog(QStringLiteral("Messages database: the columns of older rows could not all "
                                       "be read again now (%1 done); the rest are at the next open")
                            .arg(mended));
            return false;
        }
        ++batches;
        if (batch == Batch::Done) {
            if (mended > 0) {
                PlatformLog(QStringLiteral("Messages database: read the columns of %1 older rows "
                                           "again from their bytes, in %2 transactions")
                                .arg(mended)
                                .arg(batches));
            }
            return true;
        }
    }
}
