#pragma once

#include <QString>
#include <QStringList>

// The address text of the message windows: entries joined by ","; an entry is a bare address
// or a display name followed by the address in "<>".
namespace mime {

// The entries of an address text, trimmed, empty ones left out. A comma inside a quoted
// display name, inside "<>" or inside a comment "()" does not end an entry.
QStringList SplitAddressText(const QString& text);

// The address of one entry: what stands in its last "<>", else the whole entry; trimmed.
QString AddressOfEntry(const QString& entry);

// One entry for a display name and an address; the name is quoted when it holds a character
// that would otherwise split or change the entry.
QString ComposeAddressEntry(const QString& displayName, const QString& address);

} // namespace mime
