#include "platform/net/windows1252.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {
// 0x80 to 0x9F.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char encodeOne(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(c);
    }
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == c) {
            return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

// Whether any byte has its high bit set, eight bytes a step.
bool anyHigh(const char* data, qsizetype size) {
    std::uint64_t bits = 0;
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, data + i, sizeof word);
        bits |= word;
    }
    for (; i < size; ++i) {
        bits |= static_cast<unsigned char>(data[i]);
    }
    return (bits & 0x8080808080808080ULL) != 0;
}
} // namespace

QString Windows1252::Decode(const char* data, qsizetype size) {
    QString text;
    DecodeInto(data, size, text);
    return text;
}

void Windows1252::DecodeInto(const char* data, qsizetype size, QString& text) {
    // Outside 0x80 to 0x9F the code page is Latin-1, which Qt widens fast.
    text = QLatin1String(data, size);
    if (!anyHigh(data, size)) {
        return;
    }
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (b >= 0x80 && b < 0xA0) {
            out[i] = kHigh[b - 0x80];
        }
    }
}

QByteArray Windows1252::Encode(const QString& text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    EncodeInto(text, bytes.data());
    return bytes;
}

void Windows1252::EncodeInto(QStringView text, char* out) {
    const char16_t* in = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i) {
        out[i] = encodeOne(in[i]);
    }
}
