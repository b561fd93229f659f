// Prizes, winners, hour patterns and the contact history lists of OrlixDatabase.
#include "platform/messagesdb/orlixdatabase.h"

#include "platform/messagesdb/hourpatterndialogs.h"
#include "platform/messagesdb/messagesschema.h"
#include "platform/messagesdb/messagesstorage.h"
#include "platform/messagesdb/messagetable.h"
#include "platform/messagesdb/orlixcategorytree.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/messagesdb/orlixprizewinner.h"
#include "platform/messagesdb/prizetable.h"
#include "platform/messagesdb/storeddates.h"
#include "platform/system/displaytext.h"
#include "platform/system/platformlog.h"
#include "platform/ui/dialogservice.h"
#include "platform/ui/messagebox.h"

#include <QScopeGuard>
#include <QSqlQuery>
#include <QTreeWidget>
#include <QVariant>

std::shared_ptr<OrlixPrize> OrlixDatabase::makePrize() {
    auto prize = std::make_shared<OrlixPrize>();
    std::weak_ptr<MessagesStorage> weak = storage_;
    prize->winnerLoader_ = [weak](qint32 reference,
                                  std::vector<std::shared_ptr<OrlixPrizeWinner>>& out) {
        const auto storage = weak.lock();
        return storage && storage->IsOpen() && PrizeTable::ReadWinners(*storage, reference, out);
    };
    return prize;
}

std::shared_ptr<OrlixPrize> OrlixDatabase::NewPrize() {
    auto prize = makePrize();
    prize->addedByReference_ = currentUser_ ? currentUser_() : 0;
    prize->addedDate_ = QDateTime::currentDateTime();
    return prize;
}

std::shared_ptr<OrlixPrize> OrlixDatabase::GetPrize(qint32 reference, bool withWinners) {
    if (reference <= 0 || !ready("a prize was asked for")) {
        return nullptr;
    }
    auto prize = makePrize();
    bool found = false;
    if (!PrizeTable::ReadPrize(*storage_, reference, *prize, found) || !found) {
        return nullptr;
    }
    if (withWinners && !prize->LoadWinners()) {
        return nullptr;
    }
    return prize;
}

std::shared_ptr<OrlixPrizeWinner> OrlixDatabase::GetPrizeWinner(qint32 reference) {
    if (reference <= 0 || !ready("a prize winner was asked for")) {
        return nullptr;
    }
    return PrizeTable::ReadWinner(*storage_, reference);
}

void OrlixDatabase::ReloadPrize(OrlixPrize& prize, bool& ok) {
    ok = false;
    if (prize.Reference() <= 0 || !ready("a prize was reloaded")) {
        return;
    }
    bool found = false;
    if (!PrizeTable::ReadPrize(*storage_, prize.Reference(), prize, found) || !found) {
        return;
    }
    prize.winnerLoader_ = makePrize()->winnerLoader_;
    ok = prize.LoadWinners();
}

std::shared_ptr<OrlixPrizeWinner> OrlixDatabase::NewPrizeWinner(const OrlixPrize& prize) {
    auto winner = std::make_shared<OrlixPrizeWinner>();
    winner->prizeReference_ = prize.Reference();
    winner->awardedByReference_ = currentUser_ ? currentUser_() : 0;
    winner->wonDate_ = QDateTime::currentDateTime();
    return winner;
}

QVector<PrizeListLine> OrlixDatabase::ListPrizes() {
    QVector<PrizeListLine> lines;
    if (!ready("the prizes were listed")) {
        return lines;
    }
    QSqlQuery q = storage_->Prepare(QStringLiteral(
        "SELECT p.reference, p.title, p.start_utc, p.end_utc, p.number_supplied,"
        " (SELECT COUNT(*) FROM prize_winners w WHERE w.prize = p.reference) FROM prizes p"));
    if (!MessagesStorage::Exec(q, "listing the prizes")) {
        return lines;
    }
    while (q.next()) {
        PrizeListLine line;
        line.Reference = q.value(0).toInt();
        line.Title = q.value(1).toString();
        line.StartDate = StoredDates::FromStored(q.value(2));
        line.EndDate = StoredDates::FromStored(q.value(3));
        line.NumberSupplied = q.value(4).toInt();
        line.NumberWon = q.value(5).toInt();
        lines.append(line);
    }
    SortPrizeLines(lines, QDateTime::currentDateTime());
    return lines;
}

void OrlixDatabase::StorePrize(OrlixPrize& prize, bool& ok) {
    ok = false;
    if (!ready("a prize was stored")) {
        return;
    }
    const qint32 before = prize.reference_;
    const qint32 supplied = prize.numberSupplied_;
    MessagesTransaction tx(*storage_);
    if (!tx.Active() || !PrizeTable::StorePrize(*storage_, prize) || !tx.Commit()) {
        prize.reference_ = before;
        prize.numberSupplied_ = supplied;
        return;
    }
    if (!prize.winnerLoader_) {
        prize.winnerLoader_ = makePrize()->winnerLoader_;
    }
    ok = true;
}

void OrlixDatabase::DeletePrize(qint32 reference, bool& ok) {
    ok = false;
    if (reference <= 0 || !ready("a prize was deleted")) {
        return;
    }
    MessagesTransaction tx(*storage_);
    bool found = false;
    ok =
        tx.Active() && PrizeTable::DeletePrize(*storage_, reference, found) && found && tx.Commit();
}

void OrlixDatabase::StorePrizeWinner(OrlixPrizeWinner& winner, bool& ok, PrizeWinnerRefusal* why) {
    ok = false;
    PrizeWinnerRefusal refusal = PrizeWinnerRefusal::Failed;
    const auto tell = qScopeGuard([&] {
        if (why != nullptr) {
            *why = refusal;
        }
    });
    if (!ready("a prize winner was stored")) {
        return;
    }
    const qint32 before = winner.reference_;
    MessagesTransaction tx(*storage_);
    if (!tx.Active()) {
        return;
    }
    QString text;
    if (!PrizeTable::StoreWinner(*storage_, winner, text, refusal) || !tx.Commit()) {
        if (refusal == PrizeWinnerRefusal::None) {
            refusal = PrizeWinnerRefusal::Failed;
        }
        winner.reference_ = before;
        PlatformLog(
            QStringLiteral("Messages database: a prize winner was not stored: %1")
                .arg(text.isEmpty() ? QStringLiteral("the change could not be saved") : text));
        return;
    }
    ok = true;
}

void OrlixDatabase::DeletePrizeWinner(qint32 reference, bool& ok) {
    ok = false;
    if (reference <= 0 || !ready("a prize winner was deleted")) {
        return;
    }
    MessagesTransaction tx(*storage_);
    bool found = false;
    ok = tx.Active() && PrizeTable::DeleteWinner(*storage_, reference, found) && found &&
         tx.Commit();
}

qint32 OrlixDatabase::CountPrizesWon(qint32 contact) {
    if (!ready("prizes won were counted")) {
        return 0;
    }
    return PrizeTable::CountWon(*storage_, contact);
}

void OrlixDatabase::StoreHourRestrictions(const QString& pattern, QWidget* owner, bool& ok) {
    ok = false;
    if (!ready("an hour pattern was stored") || pattern.split(QLatin1Char('.')).size() != 7) {
        return;
    }
    DialogInstance<HourPatternNameDialog> ask(owner);
    if (RunDialog(*ask.get()) != QDialog::Accepted || !ask) {
        return;
    }
    const QString name = ask->Name();
    if (name.isEmpty()) {
        return;
    }
    if (!HourPattern(name).isEmpty() &&
        MsgBox(QStringLiteral("Hours named '%1' are already kept. Do you want to replace them?")
                   .arg(name),
               MsgIcon::Question, MsgButtons::YesNo, 1, owner) != MsgResult::Yes) {
        return;
    }
    ok = KeepHourPattern(name, pattern);
}

QString OrlixDatabase::ChooseHourRestrictions(QWidget* owner) {
    if (!ready("hour patterns were chosen from")) {
        return QString();
    }
    DialogInstance<HourPatternChooser> chooser(
        HourPatternNames(), [this](const QString& name) { return DeleteHourPattern(name); }, owner);
    if (RunDialog(*chooser.get()) != QDialog::Accepted || !chooser) {
        return QString();
    }
    const QString name = chooser->Chosen();
    return name.isEmpty() ? QString() : HourPattern(name);
}

namespace {
QStringList column(MessagesStorage& storage, const QString& sql, const char* what) {
    QStringList values;
    QSqlQuery q = storage.Prepare(sql);
    if (MessagesStorage::Exec(q, what)) {
        while (q.next()) {
            values << q.value(0).toString();
        }
    }
    return values;
}
} // namespace

QStringList OrlixDatabase::HourPatterns() {
    if (!ready("hour patterns were listed")) {
        return {};
    }
    return column(*storage_, QStringLiteral("SELECT pattern FROM hour_patterns ORDER BY reference"),
                  "listing hour patterns");
}

QStringList OrlixDatabase::HourPatternNames() {
    if (!ready("hour pattern names were listed")) {
        return {};
    }
    return column(*storage_, QStringLiteral("SELECT name FROM hour_patterns ORDER BY reference"),
                  "listing hour pattern names");
}

QString OrlixDatabase::HourPattern(const QString& name) {
    if (name.trimmed().isEmpty() || !ready("an hour pattern was read")) {
        return QString();
    }
    QSqlQuery q =
        storage_->Prepare(QStringLiteral("SELECT pattern FROM hour_patterns WHERE name_key = ?"));
    q.addBindValue(name.trimmed().toCaseFolded());
    if (MessagesStorage::Exec(q, "reading an hour pattern") && q.next()) {
        return q.value(0).toString();
    }
    return QString();
}

bool OrlixDatabase::KeepHourPattern(const QString& name, const QString& pattern) {
    const QString kept = name.trimmed();
    if (kept.isEmpty() || kept.size() > HourPatternNameDialog::kMaxName ||
        pattern.split(QLatin1Char('.')).size() != 7 || !ready("an hour pattern was kept")) {
        return false;
    }
    MessagesTransaction tx(*storage_);
    QSqlQuery update = storage_->Prepare(
        QStringLiteral("UPDATE hour_patterns SET name = ?, pattern = ? WHERE name_key = ?"));
    update.addBindValue(kept);
    update.addBindValue(pattern);
    update.addBindValue(kept.toCaseFolded());
    if (!tx.Active() || !MessagesStorage::Exec(update, "replacing an hour pattern")) {
        return false;
    }
    if (update.numRowsAffected() < 1) {
        QSqlQuery insert = storage_->Prepare(
            QStringLiteral("INSERT INTO hour_patterns (name, name_key, pattern) VALUES (?, ?, ?)"));
        insert.addBindValue(kept);
        insert.addBindValue(kept.toCaseFolded());
        insert.addBindValue(pattern);
        if (!MessagesStorage::Exec(insert, "keeping an hour pattern")) {
            return false;
        }
    }
    return tx.Commit();
}

bool OrlixDatabase::DeleteHourPattern(const QString& name) {
    if (name.trimmed().isEmpty() || !ready("an hour pattern was deleted")) {
        return false;
    }
    MessagesTransaction tx(*storage_);
    QSqlQuery q = storage_->Prepare(QStringLiteral("DELETE FROM hour_patterns WHERE name_key = ?"));
    q.addBindValue(name.trimmed().toCaseFolded());
    return tx.Active() && MessagesStorage::Exec(q, "deleting an hour pattern") &&
           q.numRowsAffected() > 0 && tx.Commit();
}

QVector<ContactListLine> OrlixDatabase::ContactMessageLines(const QString& emails,
                                                            const QString& numbers) {
    QVector<ContactListLine> lines;
    if (!ready("a contact's messages were listed")) {
        return lines;
    }
    // Each key a contact may have written from or to, looked up in the parties index: the stored
    // keys are lower case already, addresses as they are, numbers as their digits.
    QStringList addresses;
    for (const QString& email : emails.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const QString address = email.trimmed().toLower();
        if (!address.isEmpty()) {
            addresses << address;
        }
    }
    QStringList digits;
    for (const QString& number : numbers.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        const QString d = MessageTable::Digits(number);
        if (!d.isEmpty()) {
            digits << d;
        }
    }
    if (addresses.isEmpty() && digits.isEmpty()) {
        return lines;
    }
    // Personal messages are shown only to their owner.
    const qint32 user = currentUser_ ? currentUser_() : 0;
    QVariantList values;
    const QString where = MessageTable::PartiesWhere(addresses, digits, user, values);
    std::vector<std::shared_ptr<OrlixMessage>> rows;
    if (!MessageTable::Query(storage_, where, values, tree_, rows)) {
        return lines;
    }
    for (const auto& m : rows) {
        QString subject = m->Subject();
        if (subject.isEmpty()) {
            subject = m->BodyText().simplified().left(60);
        }
        const QString when = m->SentDate().isValid() ? m->SentDateText() : m->ReceivedDateText();
        lines.push_back({QStringLiteral("m") + QString::number(m->Reference()),
                         {subject, when, tree_->FolderName(m->Folder())}});
    }
    return lines;
}

QVector<ContactListLine> OrlixDatabase::ContactPrizeLines(qint32 contact) {
    QVector<ContactListLine> lines;
    if (contact <= 0 || !ready("a contact's prizes were listed")) {
        return lines;
    }
    QSqlQuery supplied = storage_->Prepare(QStringLiteral(
        "SELECT reference, title FROM prizes WHERE supplier_reference = ? ORDER BY reference"));
    supplied.addBindValue(contact);
    if (MessagesStorage::Exec(supplied, "listing a contact's prizes")) {
        while (supplied.next()) {
            lines.push_back({QStringLiteral("p") + supplied.value(0).toString(),
                             {supplied.value(1).toString(), QStringLiteral("Supplied")}});
        }
    }
    QSqlQuery won = storage_->Prepare(QStringLiteral(
        "SELECT w.reference, p.title, w.won_utc FROM prize_winners w JOIN prizes p ON p.reference"
        " = w.prize WHERE w.winner_reference = ? ORDER BY w.reference"));
    won.addBindValue(contact);
    if (MessagesStorage::Exec(won, "listing a contact's wins")) {
        while (won.next()) {
            const QString date = StoredDates::Text(StoredDates::FromStored(won.value(2)));
            lines.push_back(
                {QStringLiteral("w") + won.value(0).toString(),
                 {won.value(1).toString(),
                  date.isEmpty() ? QStringLiteral("Won") : QStringLiteral("Won ") + date}});
        }
    }
    return lines;
}

namespace {
void fill(QTreeWidget* list, const QVector<ContactListLine>& lines) {
    if (list == nullptr) {
        return;
    }
    for (const ContactListLine& line : lines) {
        auto* item = new QTreeWidgetItem(list, line.Texts); // owned by the list
        item->setData(0, Qt::UserRole, line.Key);
    }
}
} // namespace

void OrlixDatabase::FillContactMessages(QTreeWidget* list, const QString& emails,
                                        const QString& numbers) {
    QVector<ContactListLine> lines = ContactMessageLines(emails, numbers);
    // A subject is the listener's: one isolated field, so that it cannot run into the date.
    for (ContactListLine& line : lines) {
        if (!line.Texts.isEmpty()) {
            line.Texts.front() = DisplayText::Field(line.Texts.front());
        }
    }
    fill(list, lines);
}

void OrlixDatabase::FillContactPrizes(QTreeWidget* list, qint32 contact) {
    fill(list, ContactPrizeLines(contact));
}
