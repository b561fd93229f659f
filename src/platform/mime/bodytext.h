#pragma once

#include <QByteArray>
#include <QString>

namespace mime {

// Turns the decoded bytes of a text part into Unicode from the charset its Content-Type
// declares. An unknown or missing charset (or US-ASCII over 8-bit bytes, which listeners' mail
// programs often send) reads as UTF-8 when the bytes are valid UTF-8, else as Windows-1252;
// ISO-8859-1 reads as Windows-1252, its superset. Undecodable bytes become U+FFFD.
QString DecodeBodyText(const QByteArray& bytes, const QByteArray& declaredCharset);

// Windows-1252 to Unicode; the five unassigned bytes map to the C1 controls of the same value.
QString DecodeWindows1252(const QByteArray& bytes);

} // namespace mime
