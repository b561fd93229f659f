#pragma once

#include <QByteArray>
#include <QString>

// The two encodings the station's text files come in: UTF-8 (with or without a byte-order
// mark) and the Western Windows code page that older editors wrote.
namespace TextCodec {

// Windows-1252 to text. The five bytes the code page leaves undefined become the C1
// control of the same value, as the system's own conversion does, so nothing is dropped.
QString DecodeWindows1252(const QByteArray& bytes);

// The Windows-1252 byte for a character, or -1 when the code page has none.
int Windows1252ByteOf(QChar c);

// A byte of a single-byte Windows code page (1250-1258, 437, 850 ...) as text; code pages
// this machine cannot convert are read as Windows-1252.
QString DecodeCodePage(const QByteArray& bytes, int codePage);

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(const QByteArray& bytes);

// The program's rule for a text file's bytes: UTF-8 when they begin with a byte-order mark
// (which is dropped) or are valid UTF-8, UTF-16 when they begin with its byte-order mark,
// else Windows-1252.
QString DecodeTextFileBytes(const QByteArray& bytes);

} // namespace TextCodec
