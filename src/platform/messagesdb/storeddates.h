#pragma once

#include <QDateTime>
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
// A date number (days since 30 December 1899, the fraction the time of day, in UTC) as
// stored milliseconds; false when it is out of any sensible range.
bool DateNumberToStored(double dateNumber, qint64& stored);
// The other way, for the command-line tool and the main window's cut-off.
double ToDateNumber(const QDateTime& date);
} // namespace StoredDates
