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

QDateTime StoredDates::FromStoredUtc(const QVariant& value) {
    if (value.isNull()) {
        return {};
    }
    bool ok = false;
    const qint64 ms = value.toLongLong(&ok);
    if (!ok) {
        return {};
    }
    return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
}

QDateTime StoredDates::FromStored(const QVariant& value) {
    const QDateTime utc = FromStoredUtc(value);
    return utc.isValid() ? utc.toLocalTime() : utc;
}

QString StoredDates::Text(const QDateTime& date) {
    if (!date.isValid()) {
        return {};
    }
    // A list's dates fall on a few days: the text of the last day is kept, and the locale's
    // pattern with it, until the day or the program's locale changes.
    thread_local QLocale lastLocale(QLocale::c());
    thread_local QString pattern;
    thread_local QDate lastDay;
    thread_local QString lastDayText;
    const QLocale locale;
    if (pattern.isEmpty() || locale != lastLocale) {
        lastLocale = locale;
        pattern = locale.dateFormat(QLocale::ShortFormat);
        lastDay = QDate();
    }
    const QDateTime local = date.toLocalTime();
    if (local.date() != lastDay) {
        lastDay = local.date();
        lastDayText = locale.toString(lastDay, pattern);
    }
    const QTime time = local.time();
    QString text;
    text.reserve(lastDayText.size() + 6);
    text += lastDayText;
    text += QLatin1Char(' ');
    text += QLatin1Char(char('0' + time.hour() / 10));
    text += QLatin1Char(char('0' + time.hour() % 10));
    text += QLatin1Char(':');
    text += QLatin1Char(char('0' + time.minute() / 10));
    text += QLatin1Char(char('0' + time.minute() % 10));
    return text;
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
