#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The address text of the message windows: entries joined by ","; an entry is a bare address
// or a display name followed by the address in "<>".
namespace mime {

// The entries of an address text, trimmed, empty ones left out. A comma inside a quoted
// display name, inside "<>" or inside a comment "()" does not end an entry.
QStringList SplitAddressText(const QString& text);

// The same entries as SplitAddressText, each handed to visit as a view into text: a page of
// thousands of senders splits them without copying one.
template <typename Visit> void ForEachAddressEntry(QStringView text, Visit&& visit) {
    const auto entry = [&](qsizetype from, qsizetype to) {
        const QStringView trimmed = text.sliced(from, to - from).trimmed();
        if (!trimmed.isEmpty()) {
            visit(trimmed);
        }
    };
    qsizetype start = 0;
    bool quoted = false;
    bool angle = false;
    int comment = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'\\' && i + 1 < text.size()) {
                ++i;
            } else if (c == u'"') {
                quoted = false;
            }
            continue;
        }
        if (c == u',' && !angle && comment == 0) {
            entry(start, i);
            start = i + 1;
            continue;
        }
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
    entry(start, text.size());
}

// The address of one entry: what stands in its last "<>", else the whole entry; trimmed.
QString AddressOfEntry(const QString& entry);

// One entry for a display name and an address; the name is quoted when it holds a character
// that would otherwise split or change the entry.
QString ComposeAddressEntry(const QString& displayName, const QString& address);

} // namespace mime
