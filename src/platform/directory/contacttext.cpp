#include "platform/directory/contacttext.h"

namespace ContactText {
QString NotNull(const QString& text) {
    return text.isNull() ? QString(QLatin1String("")) : text;
}

QString Fold(const QString& text) {
    return NotNull(text.toCaseFolded());
}

QString PhoneDigits(const QString& number) {
    QString digits;
    digits.reserve(number.size());
    for (const QChar c : number) {
        const int value = c.digitValue();
        if (value >= 0 && value <= 9) {
            digits.append(QChar(u'0' + value));
        }
    }
    return NotNull(digits);
}
} // namespace ContactText
