#include "platform/system/terminaltext.h"

#include "platform/system/displaytext.h"

namespace {
// The display rule's direction characters, and the two separators that would start a new line
// on a terminal that honours them.
bool changesDirection(char16_t c) {
    return DisplayText::IsDirectionCharacter(c) || c == 0x2028 || c == 0x2029;
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
