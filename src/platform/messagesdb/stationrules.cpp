#include "platform/messagesdb/stationrules.h"

namespace StationRules {

QString SmsNumberProblem(const QString& number) {
    const QString trimmed = number.trimmed();
    for (qsizetype i = 0; i < trimmed.size(); ++i) {
        const QChar c = trimmed[i];
        const bool allowed = (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                             c == QLatin1Char(' ') || (c == QLatin1Char('+') && i == 0);
        if (!allowed) {
            return QStringLiteral("The SMS Phone Number may hold only digits, blanks and one "
                                  "leading '+'.");
        }
    }
    return {};
}

} // namespace StationRules
