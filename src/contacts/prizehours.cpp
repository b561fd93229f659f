#include "contacts/prizehours.h"

#include <QStringList>

#include <algorithm>

namespace PrizeHours {

bool HourInText(const QString& dayText, int hour) {
    if (hour < 0 || hour >= kHours) {
        return false;
    }
    return dayText.contains(QChar(u'A' + hour), Qt::CaseSensitive);
}

Week WeekFromTexts(const DayTexts& days) {
    Week week{};
    for (int d = 0; d < kDays; ++d) {
        for (int h = 0; h < kHours; ++h) {
            week[d][h] = HourInText(days[d], h);
        }
    }
    return week;
}

quint32 HourColour(bool available) {
    return available ? kAvailableColour : kUnavailableColour;
}

Cell KeepInHours(Cell cell) {
    return Cell{std::clamp(cell.row, 1, kDays), std::clamp(cell.column, 1, kHours)};
}

bool IsHourCell(Cell cell) {
    return cell.row >= 1 && cell.row <= kDays && cell.column >= 1 && cell.column <= kHours;
}

BlockSwitch SwitchBlock(Cell anchor, Cell farCorner, bool anchorAvailable) {
    anchor = KeepInHours(anchor);
    farCorner = KeepInHours(farCorner);
    BlockSwitch result;
    result.available = !anchorAvailable;
    const int rowStep = farCorner.row >= anchor.row ? 1 : -1;
    const int columnStep = farCorner.column >= anchor.column ? 1 : -1;
    for (int r = anchor.row;; r += rowStep) {
        for (int c = anchor.column;; c += columnStep) {
            result.cells.push_back(Cell{r, c});
            if (c == farCorner.column) {
                break;
            }
        }
        if (r == farCorner.row) {
            break;
        }
    }
    return result;
}

QString JoinPattern(const DayTexts& days) {
    QStringList parts;
    for (const QString& day : days) {
        parts << day;
    }
    return parts.join(QLatin1Char('.'));
}

std::optional<DayTexts> SplitPattern(const QString& pattern) {
    if (pattern.isEmpty()) {
        return std::nullopt;
    }
    const QStringList parts = pattern.split(QLatin1Char('.'));
    if (parts.size() != kDays) {
        return std::nullopt;
    }
    DayTexts days;
    for (int d = 0; d < kDays; ++d) {
        days[d] = parts[d];
    }
    return days;
}

} // namespace PrizeHours
