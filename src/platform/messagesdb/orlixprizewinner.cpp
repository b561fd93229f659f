#include "platform/messagesdb/orlixprizewinner.h"

#include "platform/messagesdb/storeddates.h"

namespace {
QDateTime local(const QDateTime& d) {
    return d.isValid() ? d.toLocalTime() : QDateTime();
}
} // namespace

void OrlixPrizeWinner::SetEdited(bool edited) {
    edited_ = edited;
    Q_EMIT PrizeWinnerEdited(edited_);
}
void OrlixPrizeWinner::SetWinnerReference(qint32 v) {
    winnerReference_ = v;
    touch();
}
void OrlixPrizeWinner::SetAwardedByReference(qint32 v) {
    awardedByReference_ = v;
    touch();
}
void OrlixPrizeWinner::SetSentByReference(qint32 v) {
    sentByReference_ = v;
    touch();
}
void OrlixPrizeWinner::SetNotes(const QString& v) {
    notes_ = v;
    touch();
}
void OrlixPrizeWinner::SetNotesToSupplier(const QString& v) {
    notesToSupplier_ = v;
    touch();
}
void OrlixPrizeWinner::SetWonDate(const QDateTime& v) {
    wonDate_ = local(v);
    touch();
}
void OrlixPrizeWinner::SetSentDate(const QDateTime& v) {
    sentDate_ = local(v);
    touch();
}
QString OrlixPrizeWinner::WonDateText() const {
    return StoredDates::Text(wonDate_);
}
QString OrlixPrizeWinner::SentDateText() const {
    return StoredDates::Text(sentDate_);
}
