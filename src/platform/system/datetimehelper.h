#pragma once

#include "platform/system/datetimerecord.h"

#include <QDateTime>
#include <QString>

// Date and time routines. A "Date" is a QDateTime; its time spec says whether it is local
// time or UTC, and the record conversions keep the wall-clock day and time as they are.
class DateTimeHelper {
public:
    enum TimeStyle { LongTime = 2, ShortTime = 4 };

    // Waits, letting pending events run, for the given number of seconds.
    static void Pause(double seconds, int mode = 0);

    // Style 2: "hh:mm:ss"; style 4: "hh:mm". Hours are always two digits.
    static QString TimeOfDayText(double secondsSinceMidnight, int style);

    // A file time (seconds since the Unix epoch) as a UTC date, whole seconds.
    static QDateTime FileTimeToDate(qint64 fileTimeSecs);

    // Reads "YYYY-MM-DDThh:mm:ss" (or with a blank for the "T", or without seconds).
    // False, with record {0, 0}, when the text is no such date.
    static bool ParseDateText(const QString& text, DateTimeRecord& record);

    static DateTimeRecord DateToTimeRecord(const QDateTime& date);
    static QDateTime TimeRecordToDate(const DateTimeRecord& record,
                                      Qt::TimeSpec spec = Qt::LocalTime);

    // Day serial of a calendar date and back.
    static qint32 DaySerial(const QDate& date);
    static QDate DateOfSerial(qint32 day);

    static QDateTime CurrentDateTimeUTC();
};
