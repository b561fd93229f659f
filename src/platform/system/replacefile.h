#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file's whole content without ever leaving it half written: the bytes go to a
// hidden temporary file (".~" and a random tail) in the same folder, which is flushed to disk
// and renamed over the old file. The new file keeps the old one's permission bits (others on
// the station share these files); a new file gets the usual ones. On any failure the temporary
// file goes, the old file is untouched and error, when given, holds the system's reason.
// Temporary files of this kind older than an hour, left by a save that was killed, are
// removed from the folder first.
bool ReplaceFileContents(const QString& path, const QByteArray& bytes, QString* error = nullptr);
