#pragma once

// Reading the content of GMime parts; for the message layer's .cpp files.

#include <QByteArray>
#include <QString>

typedef struct _GMimeObject GMimeObject;

namespace mime {

// The decoded content of a leaf part, or the bytes of an embedded message. When it would pass
// `limit` bytes, only the first `limit` bytes are returned and `truncated` is set.
QByteArray DecodedContent(GMimeObject* part, qsizetype limit, bool* truncated);

// The part's file name (Content-Disposition "filename", else Content-Type "name"), decoded.
QString PartFileName(GMimeObject* part);

// "type/subtype" in lower case.
QString PartContentType(GMimeObject* part);

} // namespace mime
