#include "platform/messagesdb/tool/terminaltext.h"

namespace {
bool changesDirection(char16_t c) {
    return c == 0x061C                     // Arabic letter mark
           || c == 0x200E || c == 0x200F   // left-to-right and right-to-left marks
           || (c >= 0x202A && c <= 0x202E) // embeddings and overrides, and their end
           || (c >= 0x2066 && c <= 0x2069) // isolates, and their end
           || c == 0x2028 || c == 0x2029;  // line and paragraph separators
}

QString hex(char16_t c, int digits) {
    return QStringLiteral("%1").arg(static_cast<uint>(c), digits, 16, QLatin1Char('0'));
}
} // namespace

QString TerminalText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u'\\') {
            out += QStringLiteral("\\\\");
        } else if (ch.category() == QChar::Other_Control) {
            out += QStringLiteral("\\x") + hex(c, 2);
        } else if (changesDirection(c)) {
            out += QStringLiteral("\\u") + hex(c, 4);
        } else {
            out += ch;
        }
    }
    return out;
}
