#pragma once

#include <QString>
#include <QStringView>

// How text from outside (a listener's name or address, a subject, a talkback line, a script
// heading) is put beside the program's own text. Each field stands between a first-strong
// isolate (U+2068) and its end (U+2069), so that a right-to-left name cannot carry the next
// field along, and the characters that embed, override, isolate or mark a direction are taken
// out, so that nothing inside closes the isolate early or reverses the field. Joiners, emoji
// modifiers and every other character stay as they came.
namespace DisplayText {

constexpr char16_t kIsolateStart = 0x2068;
constexpr char16_t kIsolateEnd = 0x2069;

// The embeddings and overrides (U+202A to U+202E), the isolates and their end (U+2066 to
// U+2069), the left-to-right and right-to-left marks and the Arabic letter mark.
bool IsDirectionCharacter(char16_t c);

// Whether the text holds neither a direction character nor a line break: what nearly every
// field holds, and what the rule leaves as it is (but for the isolate around it).
bool IsCleanLine(QStringView text);

// The text without its direction characters: for a box being edited, where the caret would
// step over marks, and for reading back what a field showed.
QString Cleaned(QStringView text);

// The text cleaned, and each CR, LF, U+2028 and U+2029 as a blank: a field's
// inside in a one-line place, for a writer that puts the isolate around it itself.
QString OneLine(QStringView text);

// One field in a one-line place: cleaned, each CR, LF, U+2028 and U+2029 as a blank, and
// isolated. An empty text stays empty.
QString Field(QStringView text);

// An address entry's two fields, cleaned and on one line: the name before the last "<" and the
// address inside the brackets; an entry without brackets is all address.
struct AddressParts {
    QString Name;
    QString Address;
    bool Bracketed = false;
};
AddressParts SplitAddressEntry(QStringView entry);

// SplitAddressEntry's parts as views into the entry, for an entry that IsCleanLine: the same
// parts, nothing copied.
struct AddressPartViews {
    QStringView Name;
    QStringView Address;
    bool Bracketed = false;
};
AddressPartViews SplitCleanAddressEntry(QStringView cleanEntry);

// One address entry as written ("Name <address>", "\"Smith, J\" <address>" or a bare address or
// number) in a one-line place: the name and the address are two fields, each isolated, so that
// a right-to-left name can neither reverse the address nor swap the groups of a number.
QString AddressEntry(QStringView entry);

// A field that keeps its lines: cleaned, and each line isolated on its own, the breaks kept as
// they came.
QString Lines(QStringView text);

} // namespace DisplayText
