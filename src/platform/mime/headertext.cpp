#include "platform/mime/headertext.h"

#include <QList>
#include <QRegularExpression>

namespace mime {

namespace {

constexpr qsizetype kMaxPlainHeaderChars = 900;
// Encoded bytes of one word's text, so that "=?UTF-8?Q?" + text + "?=" stays within 75.
constexpr qsizetype kMaxWordPayload = 60;

bool IsQSafe(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '!' ||
           c == '*' || c == '+' || c == '-' || c == '/';
}

QByteArray QEncodeBytes(const QByteArray& utf8) {
    static const char kHex[] = "0123456789ABCDEF";
    QByteArray out;
    for (char c : utf8) {
        if (c == ' ') {
            out += '_';
        } else if (IsQSafe(c)) {
            out += c;
        } else {
            const auto b = static_cast<unsigned char>(c);
            out += '=';
            out += kHex[b >> 4];
            out += kHex[b & 0x0F];
        }
    }
    return out;
}

} // namespace

QString OneLineText(const QString& text) {
    QString line;
    line.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            if (i + 1 < text.size() && text.at(i + 1) == u'\n') {
                ++i;
            }
            line += u' ';
        } else if (c == u'\n') {
            line += u' ';
        } else if (c != QChar(u'\0')) {
            line += c;
        }
    }
    return line;
}

bool IsPlainHeaderText(const QString& text) {
    if (text.isEmpty() || text.size() > kMaxPlainHeaderChars) {
        return false;
    }
    if (text.front() == u' ' || text.back() == u' ' || text.contains(QStringLiteral("  ")) ||
        text.contains(QStringLiteral("=?"))) {
        return false;
    }
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E) {
            return false;
        }
    }
    return true;
}

QByteArray EncodeHeaderWords(const QString& text) {
    QByteArray raw;
    QByteArray payload;
    auto flush = [&] {
        raw += " =?UTF-8?Q?" + payload + "?=\n";
        payload.clear();
    };
    // Whole characters per word, so that every word decodes on its own too.
    const QList<uint> codePoints = text.toUcs4();
    for (uint cp : codePoints) {
        const char32_t c = cp;
        const QByteArray encoded = QEncodeBytes(QString::fromUcs4(&c, 1).toUtf8());
        if (!payload.isEmpty() && payload.size() + encoded.size() > kMaxWordPayload) {
            flush();
        }
        payload += encoded;
    }
    if (!payload.isEmpty() || raw.isEmpty()) {
        flush();
    }
    return raw;
}

QByteArray RepairEncodedWords(const QByteArray& raw) {
    if (!raw.contains("?=")) {
        return raw;
    }
    static const QRegularExpression word(
        QStringLiteral("=\\?([^?\\s]{1,64})\\?[bB]\\?([A-Za-z0-9+/=]*)\\?="));
    // Latin-1 keeps every byte of the raw value as one character and back.
    const QString text = QString::fromLatin1(raw);
    QByteArray repaired;
    qsizetype last = 0;
    auto it = word.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        repaired += raw.mid(last, m.capturedStart() - last);
        const QByteArray bytes = QByteArray::fromBase64(m.captured(2).toLatin1());
        repaired += "=?" + m.captured(1).toLatin1() + "?Q?" + QEncodeBytes(bytes) + "?=";
        last = m.capturedEnd();
    }
    repaired += raw.mid(last);
    return repaired;
}

} // namespace mime
