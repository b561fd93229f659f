#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// The single-byte code page the playout system writes its text in. Bytes 0x80 to 0x9F are
// the code page's own letters and signs; the five it leaves unassigned stay as the control
// characters of the same value, so every byte decodes and encodes back to itself.
namespace Windows1252 {
QString Decode(const char* data, qsizetype size);
// The same into text, reusing its buffer when text is its own and large enough.
void DecodeInto(const char* data, qsizetype size, QString& text);
inline QString Decode(const QByteArray& bytes) {
    return Decode(bytes.constData(), bytes.size());
}
// A character the code page cannot hold is written as "?".
QByteArray Encode(const QString& text);
// The same into out, which has room for text.size() bytes.
void EncodeInto(QStringView text, char* out);
} // namespace Windows1252
