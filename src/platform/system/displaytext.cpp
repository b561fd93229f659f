#include "platform/system/displaytext.h"

namespace DisplayText {

namespace {

bool isLineBreak(char16_t c) {
    return c == u'\r' || c == u'\n' || c == 0x2028 || c == 0x2029;
}

void isolate(QString& out, QStringView cleanLine) {
    if (cleanLine.isEmpty()) {
        return;
    }
    out += QChar(kIsolateStart);
    out += cleanLine;
    out += QChar(kIsolateEnd);
}
} // namespace

bool IsDirectionCharacter(char16_t c) {
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

QString Cleaned(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (!IsDirectionCharacter(c.unicode())) {
            out += c;
        }
    }
    return out;
}

QString OneLine(QStringView text) {
    QString line;
    line.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (IsDirectionCharacter(c)) {
            continue;
        }
        if (isLineBreak(c)) {
            line += u' ';
        } else {
            line += QChar(c);
        }
    }
    return line;
}

QString Field(QStringView text) {
    const QString line = OneLine(text);
    QString out;
    out.reserve(line.size() + 2);
    isolate(out, line);
    return out;
}

QString AddressEntry(QStringView entry) {
    const QString line = OneLine(entry).trimmed();
    const qsizetype open = line.lastIndexOf(u'<');
    if (open < 0 || !line.endsWith(u'>')) {
        return Field(line);
    }
    const QString name = line.first(open).trimmed();
    const QStringView address = QStringView(line).sliced(open + 1, line.size() - open - 2);
    QString out;
    if (!name.isEmpty()) {
        isolate(out, name);
        out += u' ';
    }
    out += u'<';
    isolate(out, address.trimmed());
    out += u'>';
    return out;
}

QString Lines(QStringView text) {
    QString out;
    out.reserve(text.size() + 8);
    QString line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (IsDirectionCharacter(c)) {
            continue;
        }
        if (isLineBreak(c)) {
            isolate(out, line);
            line.clear();
            out += QChar(c);
        } else {
            line += QChar(c);
        }
    }
    isolate(out, line);
    return out;
}

} // namespace DisplayText
