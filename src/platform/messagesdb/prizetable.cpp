#include "platform/messagesdb/prizetable.h"

#include "platform/messagesdb/messagesstorage.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/messagesdb/orlixprizewinner.h"
#include "platform/messagesdb/storeddates.h"

#include <QSqlQuery>
#include <QVariant>

namespace {
QVariant text(const QString& s) {
    return s.isNull() ? QVariant(QStringLiteral("")) : QVariant(s);
}

const QString kWinnerColumns = QStringLiteral(
    "reference, prize, winner_reference, awarded_by_reference, sent_by_reference, notes,"
    " notes_to_supplier, won_utc, sent_utc");
} // namespace

bool PrizeTable::ReadPrize(MessagesStorage& storage, qint32 reference, OrlixPrize& prize,
                           bool& found) {
    found = false;
    QSqlQuery q = storage.Prepare(QStringLiteral(
        "SELECT title, notes, notes_to_supplier, script, start_utc, end_utc, added_utc,"
        " hours_1, hours_2, hours_3, hours_4, hours_5, hours_6, hours_7, number_supplied,"
        " supplier_reference, added_by_reference FROM prizes WHERE reference = ?"));
    q.addBindValue(reference);
    if (!MessagesStorage::Exec(q, "reading a prize")) {
        return false;
    }
    if (!q.next()) {
        return true;
    }
    found = true;
    prize.reference_ = reference;
    prize.title_ = q.value(0).toString();
    prize.notes_ = q.value(1).toString();
    prize.notesToSupplier_ = q.value(2).toString();
    prize.script_ = q.value(3).toString();
    prize.startDate_ = StoredDates::FromStored(q.value(4));
    prize.endDate_ = StoredDates::FromStored(q.value(5));
    prize.addedDate_ = StoredDates::FromStored(q.value(6));
    for (int d = 0; d < 7; ++d) {
        prize.hours_[static_cast<size_t>(d)] = q.value(7 + d).toString();
    }
    prize.numberSupplied_ = q.value(14).toInt();
    prize.supplierReference_ = q.value(15).toInt();
    prize.addedByReference_ = q.value(16).toInt();
    return true;
}

bool PrizeTable::StorePrize(MessagesStorage& storage, OrlixPrize& prize) {
    const bool insert = prize.reference_ <= 0;
    if (!insert) {
        // Another studio may have allocated more since this prize was read: the number
        // supplied never falls below what has been given away.
        QSqlQuery won =
            storage.Prepare(QStringLiteral("SELECT COUNT(*) FROM prize_winners WHERE prize = ?"));
        won.addBindValue(prize.reference_);
        if (!MessagesStorage::Exec(won, "counting a prize's winners") || !won.next()) {
            return false;
        }
        const qint32 count = won.value(0).toInt();
        if (prize.numberSupplied_ < count) {
            prize.numberSupplied_ = count;
        }
    }
    QSqlQuery q = storage.Prepare(
        insert ? QStringLiteral("INSERT INTO prizes (title, notes, notes_to_supplier, script,"
                                " start_utc, end_utc, added_utc, hours_1, hours_2, hours_3,"
                                " hours_4, hours_5, hours_6, hours_7, number_supplied,"
                                " supplier_reference, added_by_reference)"
                                " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
               : QStringLiteral("UPDATE prizes SET title = ?, notes = ?, notes_to_supplier = ?,"
                                " script = ?, start_utc = ?, end_utc = ?, added_utc = ?,"
                                " hours_1 = ?, hours_2 = ?, hours_3 = ?, hours_4 = ?, hours_5 = ?,"
                                " hours_6 = ?, hours_7 = ?, number_supplied = ?,"
                                " supplier_reference = ?, added_by_reference = ?"
                                " WHERE reference = ?"));
    q.addBindValue(text(prize.title_));
    q.addBindValue(text(prize.notes_));
    q.addBindValue(text(prize.notesToSupplier_));
    q.addBindValue(text(prize.script_));
    q.addBindValue(StoredDates::ToStored(prize.startDate_));
    q.addBindValue(StoredDates::ToStored(prize.endDate_));
    q.addBindValue(StoredDates::ToStored(prize.addedDate_));
    for (const QString& day : prize.hours_) {
        q.addBindValue(text(day));
    }
    q.addBindValue(prize.numberSupplied_);
    q.addBindValue(prize.supplierReference_);
    q.addBindValue(prize.addedByReference_);
    if (!insert) {
        q.addBindValue(prize.reference_);
    }
    if (!MessagesStorage::Exec(q, "storing a prize")) {
        return false;
    }
    if (insert) {
        const qint64 reference = q.lastInsertId().toLongLong();
        if (reference <= 0 || reference > 0x7FFFFFFF) {
            return false;
        }
        prize.reference_ = static_cast<qint32>(reference);
        return true;
    }
    return q.numRowsAffected() == 1;
}

bool PrizeTable::DeletePrize(MessagesStorage& storage, qint32 reference, bool& found) {
    found = false;
    // Its winners go with it, whether or not the connection enforces the foreign key.
    QSqlQuery winners =
        storage.Prepare(QStringLiteral("DELETE FROM prize_winners WHERE prize = ?"));
    winners.addBindValue(reference);
    if (!MessagesStorage::Exec(winners, "deleting a prize's winners")) {
        return false;
    }
    QSqlQuery q = storage.Prepare(QStringLiteral("DELETE FROM prizes WHERE reference = ?"));
    q.addBindValue(reference);
    if (!MessagesStorage::Exec(q, "deleting a prize")) {
        return false;
    }
    found = q.numRowsAffected() == 1;
    return true;
}

bool PrizeTable::ReadWinners(MessagesStorage& storage, qint32 prize,
                             std::vector<std::shared_ptr<OrlixPrizeWinner>>& out) {
    out.clear();
    QSqlQuery q = storage.Prepare(QStringLiteral("SELECT ") + kWinnerColumns +
                                  QStringLiteral(" FROM prize_winners WHERE prize = ?"
                                                 " ORDER BY reference"));
    q.addBindValue(prize);
    if (!MessagesStorage::Exec(q, "reading a prize's winners")) {
        return false;
    }
    while (q.next()) {
        auto w = std::make_shared<OrlixPrizeWinner>();
        w->reference_ = q.value(0).toInt();
        w->prizeReference_ = q.value(1).toInt();
        w->winnerReference_ = q.value(2).toInt();
        w->awardedByReference_ = q.value(3).toInt();
        w->sentByReference_ = q.value(4).toInt();
        w->notes_ = q.value(5).toString();
        w->notesToSupplier_ = q.value(6).toString();
        w->wonDate_ = StoredDates::FromStored(q.value(7));
        w->sentDate_ = StoredDates::FromStored(q.value(8));
        out.push_back(std::move(w));
    }
    return true;
}

std::shared_ptr<OrlixPrizeWinner> PrizeTable::ReadWinner(MessagesStorage& storage,
                                                         qint32 reference) {
    QSqlQuery q =
        storage.Prepare(QStringLiteral("SELECT prize FROM prize_winners WHERE reference = ?"));
    q.addBindValue(reference);
    if (!MessagesStorage::Exec(q, "reading a prize winner") || !q.next()) {
        return nullptr;
    }
    std::vector<std::shared_ptr<OrlixPrizeWinner>> all;
    if (!ReadWinners(storage, q.value(0).toInt(), all)) {
        return nullptr;
    }
    for (auto& w : all) {
        if (w->Reference() == reference) {
            return w;
        }
    }
    return nullptr;
}

bool PrizeTable::StoreWinner(MessagesStorage& storage, OrlixPrizeWinner& winner, QString& why,
                             PrizeWinnerRefusal& refusal) {
    refusal = PrizeWinnerRefusal::Failed;
    const bool insert = winner.reference_ <= 0;
    if (insert) {
        QSqlQuery cap = storage.Prepare(QStringLiteral(
            "SELECT p.number_supplied, (SELECT COUNT(*) FROM prize_winners w WHERE w.prize ="
            " p.reference) FROM prizes p WHERE p.reference = ?"));
        cap.addBindValue(winner.prizeReference_);
        if (!MessagesStorage::Exec(cap, "counting a prize's winners")) {
            why = QStringLiteral("the prize could not be read");
            return false;
        }
        if (!cap.next()) {
            refusal = PrizeWinnerRefusal::PrizeMissing;
            why = QStringLiteral("prize %1 does not exist").arg(winner.prizeReference_);
            return false;
        }
        const qint32 supplied = cap.value(0).toInt();
        const qint32 won = cap.value(1).toInt();
        if (supplied < 1) {
            refusal = PrizeWinnerRefusal::ZeroSupplied;
            why = QStringLiteral("none of prize %1 are supplied").arg(winner.prizeReference_);
            return false;
        }
        if (won >= supplied) {
            refusal = PrizeWinnerRefusal::FullyAllocated;
            why = QStringLiteral("all %1 of prize %2 are allocated already")
                      .arg(supplied)
                      .arg(winner.prizeReference_);
            return false;
        }
    }
    QSqlQuery q = storage.Prepare(
        insert ? QStringLiteral("INSERT INTO prize_winners (prize, winner_reference,"
                                " awarded_by_reference, sent_by_reference, notes,"
                                " notes_to_supplier, won_utc, sent_utc)"
                                " VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
               : QStringLiteral("UPDATE prize_winners SET prize = ?, winner_reference = ?,"
                                " awarded_by_reference = ?, sent_by_reference = ?, notes = ?,"
                                " notes_to_supplier = ?, won_utc = ?, sent_utc = ?"
                                " WHERE reference = ?"));
    q.addBindValue(winner.prizeReference_);
    q.addBindValue(winner.winnerReference_);
    q.addBindValue(winner.awardedByReference_);
    q.addBindValue(winner.sentByReference_);
    q.addBindValue(text(winner.notes_));
    q.addBindValue(text(winner.notesToSupplier_));
    q.addBindValue(StoredDates::ToStored(winner.wonDate_));
    q.addBindValue(StoredDates::ToStored(winner.sentDate_));
    if (!insert) {
        q.addBindValue(winner.reference_);
    }
    if (!MessagesStorage::Exec(q, "storing a prize winner")) {
        why = QStringLiteral("the winner could not be written");
        return false;
    }
    if (insert) {
        const qint64 reference = q.lastInsertId().toLongLong();
        if (reference <= 0 || reference > 0x7FFFFFFF) {
            return false;
        }
        winner.reference_ = static_cast<qint32>(reference);
        refusal = PrizeWinnerRefusal::None;
        return true;
    }
    if (q.numRowsAffected() != 1) {
        why = QStringLiteral("winner %1 is no longer stored").arg(winner.reference_);
        return false;
    }
    refusal = PrizeWinnerRefusal::None;
    return true;
}

bool PrizeTable::DeleteWinner(MessagesStorage& storage, qint32 reference, bool& found) {
    found = false;
    QSqlQuery q = storage.Prepare(QStringLiteral("DELETE FROM prize_winners WHERE reference = ?"));
    q.addBindValue(reference);
    if (!MessagesStorage::Exec(q, "deleting a prize winner")) {
        return false;
    }
    found = q.numRowsAffected() == 1;
    return true;
}

qint32 PrizeTable::CountWon(MessagesStorage& storage, qint32 contact) {
    if (contact <= 0) {
        return 0;
    }
    QSqlQuery q = storage.Prepare(
        QStringLiteral("SELECT COUNT(*) FROM prize_winners WHERE winner_reference = ?"));
    q.addBindValue(contact);
    if (!MessagesStorage::Exec(q, "counting prizes won") || !q.next()) {
        return 0;
    }
    return q.value(0).toInt();
}
