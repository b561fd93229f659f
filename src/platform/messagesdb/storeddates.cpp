#include "platform/messagesdb/storeddates.h"

#include <QLocale>

#include <cmath>

namespace {
constexpr double kUnixEpochDateNumber = 25569.0; // 1970-01-01 as days since 1899-12-30
constexpr double kMsPerDay = 86400000.0;
} // namespace

QVariant StoredDates::ToStored(const QDateTime& date) {
    if (!date.isValid()) {
        return QVariant(QMetaType::fromType<qint64>());
    }
    return QVariant::fromValue<qint64>(date.toMSecsSinceEpoch());
}

QDateTime StoredDates::FromStored(const QVariant& value) {
    if (value.isNull()) {
        return {};
    }
    bool ok = false;
    const qint64 ms = value.toLongLong(&ok);
    if (!ok) {
        return {};
    }
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).toLocalTime();
}

QString StoredDates::Text(const QDateTime& date) {
    if (!date.isValid()) {
        return {};
    }
    const QDateTime local = date.toLocalTime();
    return QLocale().toString(local.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           local.time().toString(QStringLiteral("HH:mm"));
}

bool StoredDates::DateNumberToStored(double dateNumber, qint64& stored) {
    // Years 100 to 9999, as the date numbers of the program's other routines allow.
    if (!std::isfinite(dateNumber) || dateNumber < -657434.0 || dateNumber > 2958466.0) {
        return false;
    }
    stored = std::llround((dateNumber - kUnixEpochDateNumber) * kMsPerDay);
    return true;
}

double StoredDates::ToDateNumber(const QDateTime& date) {
    if (!date.isValid()) {
        return 0.0;
    }
    return static_cast<double>(date.toMSecsSinceEpoch()) / kMsPerDay + kUnixEpochDateNumber;
}
