#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

// A text column selected as its stored UTF-8 bytes (`CAST(column AS BLOB)`), read back as
// text. Asked for as text, SQLite first translates every value to UTF-16 in a buffer of its
// own, one character at a time; on the long texts of a list of messages that translation cost
// more than the query itself (short texts read as text are no slower). A NULL stays a null text and
// an empty value an empty (not null) one, as they read as text. The files are created UTF-8, the
// database's text encoding.
inline QString SqlUtf8Text(const QVariant& value) {
    if (value.isNull()) {
        return {};
    }
    const QByteArray bytes = value.toByteArray();
    return bytes.isEmpty() ? QStringLiteral("") : QString::fromUtf8(bytes);
}
