#include "mainwindow/messagelistfilter.h"

#include "platform/messagesdb/storeddates.h"

QString MessageListFilterText(const QString& ownFilter, int minutes, const QDateTime& nowUtc) {
    if (minutes <= 0) {
        return ownFilter;
    }
    const double cutOff = StoredDates::ToDateNumber(nowUtc.addSecs(-qint64(minutes) * 60));
    QString text = QStringLiteral(" [Received]>") + QString::number(cutOff, 'f', 10);
    if (!ownFilter.trimmed().isEmpty()) {
        text += QStringLiteral(" AND ") + ownFilter;
    }
    return text;
}
