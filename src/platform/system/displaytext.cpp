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

bool IsCleanLine(QStringView text) {
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        // Every character concerned is a control or at or above U+061C: one comparison
        // passes nearly all text.
        if ((c < 0x20 || c >= 0x061C) && (isLineBreak(c) || IsDirectionCharacter(c))) {
            return false;
        }
    }
    return true;
}

QString Cleaned(QStringView text) {
    QString out(text.size(), Qt::Uninitialized);
    QChar* const kept = out.data();
    qsizetype size = 0;
    for (const QChar c : text) {
        if (!IsDirectionCharacter(c.unicode())) {
            kept[size++] = c;
        }
    }
    out.truncate(size);
    return out;
}

QString OneLine(QStringView text) {
    QString line(text.size(), Qt::Uninitialized);
    QChar* const kept = line.data();
    qsizetype size = 0;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (IsDirectionCharacter(c)) {
            continue;
        }
        kept[size++] = isLineBreak(c) ? QChar(u' ') : ch;
    }
    line.truncate(size);
    return line;
}

QString Field(QStringView text) {
    const QString line = OneLine(text);
    QString out;
    out.reserve(line.size() + 2);
    isolate(out, line);
    return out;
}

AddressPartViews SplitCleanAddressEntry(QStringView cleanEntry) {
    const QStringView line = cleanEntry.trimmed();
    const qsizetype open = line.lastIndexOf(u'<');
    if (open < 0 || !line.endsWith(u'>')) {
        return {QStringView(), line, false};
    }
    return {line.first(open).trimmed(), line.sliced(open + 1, line.size() - open - 2).trimmed(),
            true};
}

AddressParts SplitAddressEntry(QStringView entry) {
    const QString line = OneLine(entry);
    const AddressPartViews parts = SplitCleanAddressEntry(line);
    return {parts.Name.toString(), parts.Address.toString(), parts.Bracketed};
}

QString AddressEntry(QStringView entry) {
    const AddressParts parts = SplitAddressEntry(entry);
    if (!parts.Bracketed) {
        return Field(parts.Address);
    }
    QString out;
    if (!parts.Name.isEmpty()) {
        isolate(out, parts.Name);
        out += u' ';
    }
    out += u'<';
    isolate(out, parts.Address);
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
