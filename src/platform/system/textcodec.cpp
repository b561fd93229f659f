#include "platform/system/textcodec.h"

#include <QStringDecoder>

#include <array>

namespace {
// 0x80-0x9F of Windows-1252; 0 marks the five undefined bytes.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t unitOf1252(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F && kHigh[b - 0x80] != 0) {
        return kHigh[b - 0x80];
    }
    return b;
}
} // namespace

namespace TextCodec {

QString DecodeWindows1252(const QByteArray& bytes) {
    QString text;
    text.resize(bytes.size());
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        out[i] = QChar(unitOf1252(static_cast<unsigned char>(bytes[i])));
    }
    return text;
}

int Windows1252ByteOf(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        return u;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHigh[static_cast<size_t>(i)] == u) {
            return 0x80 + i;
        }
    }
    if (u >= 0x80 && u <= 0x9F && kHigh[u - 0x80] == 0) {
        return u; // the undefined bytes come back as what they were read as
    }
    return -1;
}

QString DecodeCodePage(const QByteArray& bytes, int codePage) {
    if (codePage == 1252 || codePage <= 0) {
        return DecodeWindows1252(bytes);
    }
    if (codePage == 65001) {
        return QString::fromUtf8(bytes);
    }
    const QByteArray name = (codePage >= 1250 && codePage <= 1258)
                                ? QByteArray("windows-") + QByteArray::number(codePage)
                                : QByteArray("cp") + QByteArray::number(codePage);
    QStringDecoder decoder(name.constData());
    if (!decoder.isValid()) {
        return DecodeWindows1252(bytes);
    }
    QString text = decoder.decode(bytes);
    if (decoder.hasError()) {
        return DecodeWindows1252(bytes);
    }
    return text;
}

bool IsValidUtf8(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if ((b & 0xE0) == 0xC0) {
            extra = 1;
            cp = b & 0x1F;
            min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2;
            cp = b & 0x0F;
            min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3;
            cp = b & 0x07;
            min = 0x10000;
        } else {
            return false;
        }
        if (n - i <= extra) {
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            const unsigned char c = p[i + k];
            if ((c & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (c & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += extra + 1;
    }
    return true;
}

QString DecodeTextFileBytes(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        return QString::fromUtf8(bytes.mid(3));
    }
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                            : QStringConverter::Utf16BE);
        return decoder.decode(bytes.mid(2));
    }
    if (IsValidUtf8(bytes)) {
        return QString::fromUtf8(bytes);
    }
    return DecodeWindows1252(bytes);
}

} // namespace TextCodec
