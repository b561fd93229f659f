#include "platform/system/databasefilemapping.h"

#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>
#include <array>

namespace DatabaseFileMapping {

bool MayMap(QByteArrayView fileSystemType) {
    // Disk and memory file systems of this computer. "overlay" is a container's view of its
    // own disk; "fuseblk" and other FUSE kinds can be anything, network included.
    static constexpr std::array<QByteArrayView, 9> local = {
        "ext2", "ext3", "ext4", "xfs", "btrfs", "f2fs", "jfs", "tmpfs", "overlay"};
    return std::find(local.begin(), local.end(), fileSystemType) != local.end();
}

bool MayMapFile(const QString& filePath) {
    const QFileInfo file(filePath);
    const QStorageInfo storage(file.exists() ? file.absoluteFilePath() : file.absolutePath());
    return storage.isValid() && MayMap(storage.fileSystemType());
}

} // namespace DatabaseFileMapping
