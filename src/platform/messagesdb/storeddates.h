#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QVariant>

// How the messages database keeps a moment: whole milliseconds since 1970-01-01 UTC, NULL
// when unset. The objects hand dates out in local time (the windows show them) and take them
// in any time spec.
namespace StoredDates {
QVariant ToStored(const QDateTime& date);
QDateTime FromStored(const QVariant& value);
// The same in UTC, for objects that convert a date only when it is shown.
QDateTime FromStoredUtc(const QVariant& value);
// The display text of a date: the system's short date and "hh:mm"; "" when unset.
QString Text(const QDateTime& date);
// The texts Text gives, for a page of many dates: the locale read once for the page, the
// text of the last day kept, and no string made per date.
class PageDates {
public:
    // Valid until the next call.
    const QString& Text(const QDateTime& date);
    // The program's locale when the formatter was made: the one its texts are in.
    const QLocale& Locale() const { return locale_; }

private:
    QLocale locale_;
    QString pattern_;
    QDate day_;
    qsizetype dayLength_ = 0;
    QString text_;
};
// A date number (days since 30 December 1899, the fraction the time of day, in UTC) as
// stored milliseconds; false when it is out of any sensible range.
bool DateNumberToStored(double dateNumber, qint64& stored);
// The other way, for the command-line tool and the main window's cut-off.
double ToDateNumber(const QDateTime& date);
} // namespace StoredDates
