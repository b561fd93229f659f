#include "core/generalroutines.h"

#include "core/debuglog.h"
#include "platform/system/appinfo.h"
#include "platform/system/datetimehelper.h"
#include "platform/system/filesystemhelper.h"
#include "platform/system/registrystore.h"
#include "platform/system/tempfiles.h"
#include "platform/ui/messagebox.h"

#include <QFile>
#include <QVarLengthArray>

#include <locale.h>
#include <stdlib.h>

#include <cmath>
#include <limits>

namespace {
const QString kUpdateValue = QStringLiteral("UpdateInformationFileDateUTC");

bool fileDateUtc(const QString& path, QDateTime& date) {
    qint64 created = 0;
    qint64 modified = 0;
    qint64 accessed = 0;
    if (!FileSystemHelper::GetFileTimes(path, created, modified, accessed)) {
        return false;
    }
    date = DateTimeHelper::FileTimeToDate(modified);
    return true;
}
} // namespace

bool LongToBoolean(qint32 value) {
    return value == -1;
}

QString GetTempFile(const QString& folderIn, const QString& extension) {
    DebugLog(QStringLiteral("Start GetTempFile"), 5, LogIndent);
    QString folder = folderIn;
    for (;;) {
        DebugLog(QStringLiteral("Assign a string"), -1);
        if (folder.isEmpty()) {
            DebugLog(QStringLiteral("Get the user's temp path"), -1);
            int errorNumber = 0;
            const QString temp = TempFolderPath(errorNumber);
            if (temp.isEmpty()) {
                MsgBox(QStringLiteral("Error getting a temporary file name :") +
                           QString::number(errorNumber),
                       MsgIcon::Critical);
                DebugLog(QStringLiteral("End GetTempFile"), 5, LogOutdent);
                return {};
            }
            folder = temp.trimmed();
        }
        DebugLog(QStringLiteral("AlphaNum the app.title"), -1);
        const QString prefix = AppInfo::Title().toUpper().remove(QLatin1Char(' '));
        DebugLog(QStringLiteral("Call GetTempFilename"), -1);
        const QString made = CreateUniqueTempFile(folder, prefix);
        if (made.isEmpty()) {
            DebugLog(QStringLiteral("End GetTempFile"), 5, LogOutdent);
            return {};
        }
        DebugLog(QStringLiteral("Process the return"), -1);
        QString name = made.trimmed();
        if (!extension.isEmpty() &&
            extension.compare(QLatin1String("TMP"), Qt::CaseInsensitive) != 0) {
            QFile::remove(made);
            name = name.left(name.size() - 3) + extension;
            if (FileSystemHelper::FileSize(name) > 0) {
                continue; // taken by a file with content: another name
            }
        }
        DebugLog(QStringLiteral("End GetTempFile"), 5, LogOutdent);
        return name;
    }
}

QString IsoDateTimeText(const DateTimeRecord& record) {
    return DateTimeHelper::DateOfSerial(record.Day).toString(QStringLiteral("yyyy-MM-dd")) +
           QLatin1Char('T') +
           DateTimeHelper::TimeOfDayText(record.Seconds, DateTimeHelper::LongTime);
}

bool IsUpdateInformationNewer(const QString& path, const QString& key) {
    if (!FileSystemHelper::FileExists(path)) {
        return false;
    }
    QDateTime fileDate;
    if (!fileDateUtc(path, fileDate)) {
        return false;
    }
    const QString stored =
        RegistryStore::ReadString(RegistryRoot::CurrentUser, key, kUpdateValue, QString());
    if (stored.isEmpty()) {
        return true;
    }
    DateTimeRecord record;
    if (!DateTimeHelper::ParseDateText(stored, record)) {
        // Unreadable: show the notes again rather than never.
        return true;
    }
    const QDateTime storedDate = DateTimeHelper::TimeRecordToDate(record, Qt::UTC);
    return fileDate.toSecsSinceEpoch() > storedDate.toSecsSinceEpoch();
}

void StoreUpdateInformationDate(const QString& path, const QString& key) {
    QDateTime fileDate;
    if (!FileSystemHelper::FileExists(path) || !fileDateUtc(path, fileDate)) {
        return;
    }
    const DateTimeRecord record = DateTimeHelper::DateToTimeRecord(fileDate);
    RegistryStore::WriteString(RegistryRoot::CurrentUser, key, kUpdateValue,
                               IsoDateTimeText(record), QString());
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
