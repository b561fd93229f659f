#include "platform/messagesdb/prizelist.h"

#include <algorithm>

bool PrizeRunning(const PrizeListLine& prize, const QDateTime& now) {
    return !prize.EndDate.isValid() || prize.EndDate >= now;
}

void SortPrizeLines(QVector<PrizeListLine>& lines, const QDateTime& now) {
    std::stable_sort(lines.begin(), lines.end(),
                     [&now](const PrizeListLine& a, const PrizeListLine& b) {
                         const bool ar = PrizeRunning(a, now);
                         const bool br = PrizeRunning(b, now);
                         if (ar != br) {
                             return ar;
                         }
                         const int byTitle = a.Title.compare(b.Title, Qt::CaseInsensitive);
                         if (byTitle != 0) {
                             return byTitle < 0;
                         }
                         return a.Reference < b.Reference;
                     });
}

QString PrizeWonText(const PrizeListLine& prize) {
    return QStringLiteral("%1 of %2").arg(prize.NumberWon).arg(prize.NumberSupplied);
}
