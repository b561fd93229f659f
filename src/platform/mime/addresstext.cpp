#include "platform/mime/addresstext.h"

namespace mime {

QStringList SplitAddressText(const QString& text) {
    QStringList entries;
    QString current;
    bool quoted = false;
    bool angle = false;
    int comment = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            current += c;
            if (c == u'\\' && i + 1 < text.size()) {
                current += text.at(++i);
            } else if (c == u'"') {
                quoted = false;
            }
            continue;
        }
        if (c == u',' && !angle && comment == 0) {
            entries += current.trimmed();
            current.clear();
            continue;
        }
        current += c;
        if (c == u'"' && comment == 0) {
            quoted = true;
        } else if (c == u'<' && comment == 0) {
            angle = true;
        } else if (c == u'>' && comment == 0) {
            angle = false;
        } else if (c == u'(' && !angle) {
            ++comment;
        } else if (c == u')' && comment > 0) {
            --comment;
        }
    }
    entries += current.trimmed();
    entries.removeAll(QString());
    return entries;
}

QString AddressOfEntry(const QString& entry) {
    const qsizetype open = entry.lastIndexOf(u'<');
    if (open >= 0) {
        const qsizetype close = entry.indexOf(u'>', open);
        return entry.mid(open + 1, close < 0 ? -1 : close - open - 1).trimmed();
    }
    return entry.trimmed();
}

QString ComposeAddressEntry(const QString& displayName, const QString& address) {
    if (displayName.isEmpty()) {
        return address;
    }
    static const QString kSpecials = QStringLiteral("()<>[]:;@\\,.\"");
    bool needsQuotes = displayName.trimmed() != displayName;
    for (QChar c : displayName) {
        if (kSpecials.contains(c)) {
            needsQuotes = true;
            break;
        }
    }
    QString name = displayName;
    if (needsQuotes) {
        name.replace(u'\\', QStringLiteral("\\\\"));
        name.replace(u'"', QStringLiteral("\\\""));
        name = u'"' + name + u'"';
    }
    return name + QStringLiteral(" <") + address + u'>';
}

} // namespace mime
