#include "platform/mime/addresstext.h"

namespace mime {

QStringList SplitAddressText(const QString& text) {
    QStringList entries;
    ForEachAddressEntry(text, [&entries](QStringView entry) { entries += entry.toString(); });
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
