#include "platform/messagesdb/storeddates.h"

#include <QLocale>

#include <cmath>
#include <cstdlib>
#include <optional>

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

namespace {
// A list's dates fall in a few quarter hours, and within one the offset from UTC does not
// change (every zone's offset and change of offset is a whole number of quarter hours since
// zones were standardised; a quarter that holds a change, or a day's end, is converted date by
// date). The conversion of one moment of a quarter serves the others. Only while TZ names the
// zone: its text changes whenever the zone does (LocalZone switches its spelling), where
// without it the C library would notice a new zone file by itself.
constexpr qint64 kQuarterMs = 15 * 60 * 1000;

struct Quarter {
    QByteArray zone;
    qint64 start = 0;
    bool known = false;  // start and what follows are for zone
    bool steady = false; // one offset and one day throughout
    QDate day;
    int startMsOfDay = 0;
};

void localTime(qint64 utc, const QDateTime& date, QDate& day, QTime& time) {
    thread_local Quarter quarter;
    const char* zone = std::getenv("TZ");
    if (zone != nullptr && zone[0] != '\0') {
        const qint64 start = utc - (((utc % kQuarterMs) + kQuarterMs) % kQuarterMs);
        if (!quarter.known || quarter.start != start || quarter.zone != zone) {
            quarter.zone = zone;
            quarter.start = start;
            quarter.known = true;
            const QDateTime first = QDateTime::fromMSecsSinceEpoch(start, Qt::UTC).toLocalTime();
            const QDateTime last =
                QDateTime::fromMSecsSinceEpoch(start + kQuarterMs - 1, Qt::UTC).toLocalTime();
            quarter.steady = first.isValid() && last.isValid() && first.date() == last.date() &&
                             first.offsetFromUtc() == last.offsetFromUtc();
            quarter.day = first.date();
            quarter.startMsOfDay = first.time().msecsSinceStartOfDay();
        }
        if (quarter.steady) {
            day = quarter.day;
            time = QTime::fromMSecsSinceStartOfDay(quarter.startMsOfDay +
                                                   static_cast<int>(utc - start));
            return;
        }
    }
    const QDateTime local = date.toLocalTime();
    day = local.date();
    time = local.time();
}

// " hh:mm" after a day's text.
void appendClock(QString& text, QTime time) {
    text += QLatin1Char(' ');
    text += QLatin1Char(char('0' + time.hour() / 10));
    text += QLatin1Char(char('0' + time.hour() % 10));
    text += QLatin1Char(':');
    text += QLatin1Char(char('0' + time.minute() / 10));
    text += QLatin1Char(char('0' + time.minute() % 10));
}
} // namespace

QString StoredDates::Text(const QDateTime& date) {
    // A list's dates fall on a few days: one page's formatter is kept, with its last day's
    // text, until the program's locale changes.
    thread_local std::optional<PageDates> dates;
    if (!dates || dates->Locale() != QLocale()) {
        dates.emplace();
    }
    return dates->Text(date);
}

const QString& StoredDates::PageDates::Text(const QDateTime& date) {
    static const QString unset;
    if (!date.isValid()) {
        return unset;
    }
    if (pattern_.isEmpty()) {
        pattern_ = locale_.dateFormat(QLocale::ShortFormat);
    }
    QDate day;
    QTime time;
    localTime(date.toMSecsSinceEpoch(), date, day, time);
    if (day != day_) {
        day_ = day;
        text_ = locale_.toString(day_, pattern_);
        dayLength_ = text_.size();
    }
    text_.resize(dayLength_);
    appendClock(text_, time);
    return text_;
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
