#include "platform/system/datetimehelper.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QThread>

#include <cmath>

namespace {
const QDate& epoch() {
    static const QDate d(1899, 12, 30);
    return d;
}
} // namespace

void DateTimeHelper::Pause(double seconds, int /*mode*/) {
    QElapsedTimer timer;
    timer.start();
    const auto total = static_cast<qint64>(seconds * 1000.0);
    while (timer.elapsed() < total) {
        if (QCoreApplication::instance() != nullptr) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        QThread::msleep(5);
    }
}

QString DateTimeHelper::TimeOfDayText(double secondsSinceMidnight, int style) {
    auto total = static_cast<qint64>(std::floor(secondsSinceMidnight));
    if (total < 0) {
        total = 0;
    }
    total %= 86400;
    const qint64 h = total / 3600;
    const qint64 m = (total / 60) % 60;
    const qint64 s = total % 60;
    const auto two = [](qint64 v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    if (style == ShortTime) {
        return two(h) + QLatin1Char(':') + two(m);
    }
    return two(h) + QLatin1Char(':') + two(m) + QLatin1Char(':') + two(s);
}

QDateTime DateTimeHelper::FileTimeToDate(qint64 fileTimeSecs) {
    return QDateTime::fromSecsSinceEpoch(fileTimeSecs, Qt::UTC);
}

bool DateTimeHelper::ParseDateText(const QString& text, DateTimeRecord& record) {
    record = {};
    static const QRegularExpression re(QStringLiteral(
        R"(^\s*(\d{4})-(\d{1,2})-(\d{1,2})(?:[T ](\d{1,2}):(\d{2})(?::(\d{2}))?)?\s*$)"));
    const QRegularExpressionMatch m = re.match(text);
    if (!m.hasMatch()) {
        return false;
    }
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const int h = m.captured(4).toInt();
    const int mi = m.captured(5).toInt();
    const int s = m.captured(6).toInt();
    if (!date.isValid() || h > 23 || mi > 59 || s > 59) {
        return false;
    }
    record.Day = DaySerial(date);
    record.Seconds = static_cast<float>(h * 3600 + mi * 60 + s);
    return true;
}

qint32 DateTimeHelper::DaySerial(const QDate& date) {
    return static_cast<qint32>(epoch().daysTo(date));
}

QDate DateTimeHelper::DateOfSerial(qint32 day) {
    return epoch().addDays(day);
}

DateTimeRecord DateTimeHelper::DateToTimeRecord(const QDateTime& date) {
    DateTimeRecord r;
    if (!date.isValid()) {
        return r;
    }
    r.Day = DaySerial(date.date());
    r.Seconds = static_cast<float>(date.time().msecsSinceStartOfDay()) / 1000.0F;
    return r;
}

QDateTime DateTimeHelper::TimeRecordToDate(const DateTimeRecord& record, Qt::TimeSpec spec) {
    double secs = record.Seconds;
    if (!std::isfinite(secs) || secs < 0) {
        secs = 0;
    }
    auto ms = static_cast<qint64>(std::llround(secs * 1000.0));
    if (ms >= 86400000) {
        ms = 86399999;
    }
    return QDateTime(DateOfSerial(record.Day),
                     QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)), spec);
}

QDateTime DateTimeHelper::CurrentDateTimeUTC() {
    return QDateTime::currentDateTimeUtc();
}
