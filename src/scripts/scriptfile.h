#pragma once

#include <QByteArray>
#include <QString>

// Script files on the station's shared folders, which several studio computers read and write.
namespace ScriptFile {

// A file's bytes as text: UTF-8 when they begin with its byte-order mark or declare a UTF-8
// charset, the declared single-byte code page otherwise, and Windows-1252 when they declare
// nothing (as the editors that wrote the older scripts did).
QString DecodeBytes(const QByteArray& bytes);

// What a file held when it was read, to tell later whether another computer changed it.
struct Snapshot {
    bool exists = false;
    QByteArray hash; // of the bytes, empty when the file does not exist
};
Snapshot Take(const QString& path);
Snapshot Of(const QByteArray& bytes);

// The largest script shown: above any hand-written script with pasted pictures, and shown in
// a few seconds. A larger file would leave the view blank for long and can end its renderer.
constexpr qint64 kMaxScriptBytes = 4 * 1024 * 1024;

// The file's text; false (and error set) when it cannot be read. A file above kMaxScriptBytes
// is not read (its size is asked first, and the read stops past the limit should it grow
// meanwhile): false, with tooLarge set. snapshot, when given, is the state of the bytes read.
bool Read(const QString& path, QString& text, Snapshot* snapshot = nullptr,
          QString* error = nullptr, bool* tooLarge = nullptr);

// The saved form of a script: UTF-8, with a charset declaration in its head, replacing the
// file in one step (see ReplaceFileContents). snapshot, when given, gets the state written.
bool Save(const QString& path, const QString& html, Snapshot* snapshot = nullptr,
          QString* error = nullptr);

// The HTML with a <meta charset="utf-8"> in its head, any other charset declaration taken out.
QString WithUtf8Declaration(const QString& html);

} // namespace ScriptFile
