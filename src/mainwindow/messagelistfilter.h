#pragma once

#include <QDateTime>
#include <QString>

// The filter the message list is built from: for a window of minutes > 0 the received-date
// term " [Received]>cut-off", joined by " AND " to the list's own filter when that is not
// blank; otherwise the own filter unchanged. The cut-off is the date number of nowUtc minus the
// window, written with "." and 10 decimals in every locale (the filter language reads no
// other separator).
QString MessageListFilterText(const QString& ownFilter, int minutes, const QDateTime& nowUtc);
