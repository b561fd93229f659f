#include "platform/mime/bodytext.h"

#include <QStringDecoder>

#include <iconv.h>

#include <array>
#include <cerrno>

namespace mime {

namespace {

bool DecodeUtf8(const QByteArray& bytes, QString& text) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    text = decoder(bytes);
    return !decoder.hasError();
}

QString DecodeGuessed(const QByteArray& bytes) {
    QString text;
    if (DecodeUtf8(bytes, text)) {
        return text;
    }
    return DecodeWindows1252(bytes);
}

// Converts through the C library's iconv; false when it does not know the charset. (GMime's
// own charset name cache is not used: it keeps a copy of every name it is asked about, which a
// hostile message could grow without end.)
bool DecodeWithIconv(const QByteArray& bytes, const QByteArray& charset, QString& text) {
    if (charset.size() > 64 || charset.contains('/')) {
        return false;
    }
    iconv_t cd = iconv_open("UTF-8", charset.constData());
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    QByteArray utf8;
    utf8.reserve(bytes.size() + bytes.size() / 2 + 16);
    std::array<char, 4096> buffer{};
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = static_cast<size_t>(bytes.size());
    const QByteArray replacement = QByteArrayLiteral("\xEF\xBF\xBD");
    while (inLeft > 0) {
        char* out = buffer.data();
        size_t outLeft = buffer.size();
        const size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        utf8.append(buffer.data(), static_cast<qsizetype>(buffer.size() - outLeft));
        if (result != static_cast<size_t>(-1)) {
            continue;
        }
        if (errno == E2BIG) {
            continue;
        }
        // An invalid or incomplete sequence: one replacement character, then go on after it.
        utf8.append(replacement);
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    // Flush a stateful encoding's closing shift sequence.
    char* out = buffer.data();
    size_t outLeft = buffer.size();
    iconv(cd, nullptr, nullptr, &out, &outLeft);
    utf8.append(buffer.data(), static_cast<qsizetype>(buffer.size() - outLeft));
    iconv_close(cd);
    text = QString::fromUtf8(utf8);
    return true;
}

} // namespace

QString DecodeWindows1252(const QByteArray& bytes) {
    static constexpr char16_t kHigh[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text += (b >= 0x80 && b < 0xA0) ? QChar(kHigh[b - 0x80]) : QChar(char16_t(b));
    }
    return text;
}

QString DecodeBodyText(const QByteArray& bytes, const QByteArray& declaredCharset) {
    const QByteArray charset = declaredCharset.trimmed().toLower();
    if (charset.isEmpty() || charset == "us-ascii" || charset == "ascii" ||
        charset == "ansi_x3.4-1968" || charset == "unknown-8bit" || charset == "x-unknown" ||
        charset == "unknown" || charset == "default") {
        return DecodeGuessed(bytes);
    }
    if (charset == "utf-8" || charset == "utf8") {
        QString text;
        DecodeUtf8(bytes, text);
        return text;
    }
    if (charset == "iso-8859-1" || charset == "iso8859-1" || charset == "latin1" ||
        charset == "windows-1252" || charset == "cp1252" || charset == "iso_8859-1") {
        return DecodeWindows1252(bytes);
    }
    QString text;
    if (DecodeWithIconv(bytes, charset, text)) {
        return text;
    }
    return DecodeGuessed(bytes);
}

} // namespace mime
