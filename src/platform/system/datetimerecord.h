#pragma once

#include <QtGlobal>

// The program's shared value for a moment: a day serial (whole days from 30 December 1899,
// so 1 January 2000 is 36526; below 1 means no date) and seconds since midnight.
struct DateTimeRecord {
    qint32 Day = 0;
    float Seconds = 0.0F;

    friend bool operator==(const DateTimeRecord&, const DateTimeRecord&) = default;
};
