#include "playout/link/playoutline.h"

#include <QByteArray>
#include <QVarLengthArray>

#include <locale.h>
#include <stdlib.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>

PlayoutLine PlayoutLine::Split(QStringView line) {
    PlayoutLine p;
    const qsizetype q = line.indexOf(QLatin1Char(' '));
    if (q < 0) {
        p.verb = line;
        return p;
    }
    p.hasBlank = true;
    p.verb = line.left(q);
    p.rest = line.mid(q + 1);
    const qsizetype u = line.indexOf(QLatin1Char(' '), q + 1);
    if (u < 0) {
        p.object = line.mid(q + 1);
        return p;
    }
    p.object = line.mid(q + 1, u - q - 1);
    p.parameterText = TrimBlanks(line.mid(u));
    if (!p.parameterText.isEmpty()) {
        qsizetype from = 0;
        for (;;) {
            const qsizetype comma = p.parameterText.indexOf(QLatin1Char(','), from);
            if (comma < 0) {
                p.fields.append(p.parameterText.mid(from));
                break;
            }
            p.fields.append(p.parameterText.mid(from, comma - from));
            from = comma + 1;
        }
    }
    return p;
}

QStringView PlayoutLine::FieldsFrom(qsizetype first) const {
    if (first >= fields.size()) {
        return {};
    }
    const qsizetype start = fields.at(first).data() - parameterText.data();
    return parameterText.mid(start);
}

QStringView TrimBlanks(QStringView text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text.at(from) == QLatin1Char(' ')) {
        ++from;
    }
    while (to > from && text.at(to - 1) == QLatin1Char(' ')) {
        --to;
    }
    return text.mid(from, to - from);
}

namespace {
bool ignored(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

int digitValue(QChar c, int radix) {
    const char16_t u = c.unicode();
    int d = -1;
    if (u >= '0' && u <= '9') {
        d = u - '0';
    } else if (u >= 'a' && u <= 'f') {
        d = u - 'a' + 10;
    } else if (u >= 'A' && u <= 'F') {
        d = u - 'A' + 10;
    }
    return d >= 0 && d < radix ? d : -1;
}

// "&H" or "&O" numbers: a value that fits 16 bits reads as a 16-bit two's complement, one
// that fits 32 bits as a 32-bit one.
double radixValue(QStringView text, qsizetype i, int radix) {
    quint64 value = 0;
    bool any = false;
    for (; i < text.size(); ++i) {
        if (ignored(text.at(i))) {
            continue;
        }
        const int d = digitValue(text.at(i), radix);
        if (d < 0) {
            break;
        }
        any = true;
        if (value > (std::numeric_limits<quint64>::max() >> 4)) {
            return static_cast<double>(value);
        }
        value = value * quint64(radix) + quint64(d);
    }
    if (!any) {
        return 0;
    }
    if (value <= 0xFFFF) {
        return static_cast<qint16>(static_cast<quint16>(value));
    }
    if (value <= 0xFFFFFFFFull) {
        return static_cast<qint32>(static_cast<quint32>(value));
    }
    return static_cast<double>(value);
}
} // namespace

double ValOf(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && ignored(text.at(i))) {
        ++i;
    }
    if (i + 1 < text.size() && text.at(i) == QLatin1Char('&')) {
        const QChar k = text.at(i + 1).toUpper();
        if (k == QLatin1Char('H')) {
            return radixValue(text, i + 2, 16);
        }
        if (k == QLatin1Char('O')) {
            return radixValue(text, i + 2, 8);
        }
    }

    // The number's characters without the ignored ones, for a locale-free conversion.
    QVarLengthArray<char, 64> number;
    qint64 whole = 0;
    int wholeDigits = 0;
    bool simple = true;
    bool negative = false;
    enum { Sign, Mantissa, Fraction, ExponentSign, Exponent } part = Sign;
    bool mantissaDigits = false;
    qsizetype exponentMark = -1;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (ignored(c)) {
            continue;
        }
        const char16_t u = c.unicode();
        const bool digit = u >= '0' && u <= '9';
        if (part == Sign && (u == '+' || u == '-')) {
            negative = u == '-';
            number.append(char(u));
            part = Mantissa;
            continue;
        }
        if (part == Sign) {
            part = Mantissa;
        }
        if ((part == Mantissa || part == Fraction) && digit) {
            mantissaDigits = true;
            number.append(char(u));
            if (part == Mantissa && wholeDigits < 18) {
                whole = whole * 10 + (u - '0');
                if (whole != 0 || wholeDigits > 0) {
                    ++wholeDigits;
                }
            } else {
                simple = false;
            }
            continue;
        }
        if (part == Mantissa && u == '.') {
            number.append('.');
            part = Fraction;
            simple = false;
            continue;
        }
        if ((part == Mantissa || part == Fraction) && mantissaDigits &&
            (u == 'e' || u == 'E' || u == 'd' || u == 'D')) {
            exponentMark = number.size();
            number.append('e');
            part = ExponentSign;
            simple = false;
            continue;
        }
        if (part == ExponentSign && (u == '+' || u == '-')) {
            number.append(char(u));
            part = Exponent;
            continue;
        }
        if ((part == ExponentSign || part == Exponent) && digit) {
            number.append(char(u));
            part = Exponent;
            exponentMark = -1; // the exponent has digits: keep it
            continue;
        }
        break;
    }
    if (!mantissaDigits) {
        return 0;
    }
    if (simple) {
        return negative ? -double(whole) : double(whole);
    }
    if (exponentMark >= 0) {
        number.resize(exponentMark); // an exponent mark without digits is not part of it
    }
    number.append('\0');
    // strtod in the C locale: the decimal point is always ".", whatever the desktop's
    // language; beyond a double's range it gives the sign's infinity (which no receiver
    // accepts) and below it 0.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return strtod_l(number.data(), nullptr, cLocale);
}

namespace {
template <typename T> std::optional<T> toInteger(double value) {
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    const double r = std::nearbyint(value);
    if (r < double(std::numeric_limits<T>::min()) || r > double(std::numeric_limits<T>::max())) {
        return std::nullopt;
    }
    return static_cast<T>(r);
}
} // namespace

std::optional<qint16> ToInteger16(double value) {
    return toInteger<qint16>(value);
}
std::optional<qint32> ToInteger32(double value) {
    return toInteger<qint32>(value);
}
