#include "platform/messagesdb/orlixprize.h"

#include "platform/messagesdb/orlixprizewinner.h"
#include "platform/messagesdb/storeddates.h"

namespace {
QDateTime local(const QDateTime& d) {
    return d.isValid() ? d.toLocalTime() : QDateTime();
}
} // namespace

const QString OrlixPrize::kAllHours = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWX");

OrlixPrize::OrlixPrize() {
    hours_.fill(kAllHours);
}
OrlixPrize::~OrlixPrize() = default;

void OrlixPrize::SetEdited(bool edited) {
    edited_ = edited;
    Q_EMIT PrizeEdited(edited_);
}
void OrlixPrize::SetTitle(const QString& v) {
    title_ = v;
    touch();
}
void OrlixPrize::SetNotes(const QString& v) {
    notes_ = v;
    touch();
}
void OrlixPrize::SetNotesToSupplier(const QString& v) {
    notesToSupplier_ = v;
    touch();
}
void OrlixPrize::SetScript(const QString& v) {
    script_ = v;
    touch();
}
void OrlixPrize::SetStartDate(const QDateTime& v) {
    startDate_ = local(v);
    touch();
}
void OrlixPrize::SetEndDate(const QDateTime& v) {
    endDate_ = local(v);
    touch();
}
void OrlixPrize::SetAddedDate(const QDateTime& v) {
    addedDate_ = local(v);
    touch();
}
QString OrlixPrize::StartDateText() const {
    return StoredDates::Text(startDate_);
}
QString OrlixPrize::EndDateText() const {
    return StoredDates::Text(endDate_);
}
QString OrlixPrize::AddedDateText() const {
    return StoredDates::Text(addedDate_);
}

QString OrlixPrize::HourRestrictions(int day) const {
    if (day < 1 || day > 7) {
        return {};
    }
    return hours_[static_cast<size_t>(day - 1)];
}

void OrlixPrize::SetHourRestrictions(int day, const QString& text) {
    if (day < 1 || day > 7) {
        return;
    }
    hours_[static_cast<size_t>(day - 1)] = text;
    touch();
}

bool OrlixPrize::HourAllowed(int day, int hour) const {
    if (hour < 0 || hour > 23) {
        return false;
    }
    return HourRestrictions(day).contains(QChar(65 + hour), Qt::CaseSensitive);
}

void OrlixPrize::SetHour(int day, int hour, bool allowed) {
    if (day < 1 || day > 7 || hour < 0 || hour > 23) {
        return;
    }
    QString& text = hours_[static_cast<size_t>(day - 1)];
    const QChar letter(65 + hour);
    text.remove(letter, Qt::CaseSensitive);
    if (allowed) {
        // Kept in hour order, so equal patterns read the same.
        qsizetype at = 0;
        while (at < text.size() && text.at(at) < letter) {
            ++at;
        }
        text.insert(at, letter);
    }
    touch();
}

void OrlixPrize::SetNumberSupplied(qint32 v) {
    numberSupplied_ = v;
    touch();
}
void OrlixPrize::SetSupplierReference(qint32 v) {
    supplierReference_ = v;
    touch();
}
void OrlixPrize::SetAddedByReference(qint32 v) {
    addedByReference_ = v;
    touch();
}

bool OrlixPrize::LoadWinners() {
    if (reference_ <= 0) {
        winners_.clear();
        return true; // a new prize has no winners yet
    }
    if (!winnerLoader_) {
        return false;
    }
    std::vector<std::shared_ptr<OrlixPrizeWinner>> loaded;
    if (!winnerLoader_(reference_, loaded)) {
        return false;
    }
    winners_ = std::move(loaded);
    return true;
}

std::shared_ptr<OrlixPrizeWinner> OrlixPrize::Winner(int index) const {
    if (index < 1 || index > NumberWinners()) {
        return nullptr;
    }
    return winners_[static_cast<size_t>(index - 1)];
}
