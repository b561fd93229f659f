#pragma once

#include <QByteArrayView>
#include <QString>

// Whether SQLite may read a database file through a memory map instead of copying each page
// with a system call. Reading a mapped page that the disk cannot give raises a signal that
// ends the program, where a read would return an error: that is the risk the program already
// takes for its own code and libraries on the local disk, but not one to take for a file on
// a network folder, which another computer can shrink or whose server can go away. So only
// files on the computer's own disks are mapped.
namespace DatabaseFileMapping {
// The most of a file mapped; the rest of a larger file is read as before.
inline constexpr qint64 kMappedBytes = qint64(1) << 30;

// The decision on the name the system gives the file system ("ext4", "nfs4", "cifs", ...):
// only the local ones named here; an unknown kind is not mapped.
bool MayMap(QByteArrayView fileSystemType);
// The decision for the file system holding filePath (or, while the file is still missing,
// the folder that will hold it).
bool MayMapFile(const QString& filePath);
} // namespace DatabaseFileMapping
