#pragma once

#include "platform/system/datetimerecord.h"

#include <QString>
#include <QStringView>

#include <optional>

// True exactly for -1 (the complement of an empty array's storage reference).
bool LongToBoolean(qint32 value);

// A new temporary file name in folder ("" = the user's private temporary folder) ending in
// extension. For "TMP" (or "") the empty file stays made; for another extension the name is
// free or names an empty file. "" on failure.
QString GetTempFile(const QString& folder, const QString& extension);

// "YYYY-MM-DDThh:mm:ss".
QString IsoDateTimeText(const DateTimeRecord& record);

// Whether the update-notes file is newer than the date recorded for this user under key.
bool IsUpdateInformationNewer(const QString& path, const QString& key);
// Records the update-notes file's date for this user under key.
void StoreUpdateInformationDate(const QString& path, const QString& key);

// A number read the way the old runtime's Val read text: blanks, tabs and line feeds are
// ignored, the longest leading number is taken ("&H" and "&O" give hex and octal), 0 when
// there is none. Beyond a double's range it gives the sign's infinity.
double ValOf(QStringView text);

// The value rounded to the nearest whole number (halves to the even one); nothing when it
// does not fit the receiver's width.
std::optional<qint16> ToInteger16(double value);
std::optional<qint32> ToInteger32(double value);
