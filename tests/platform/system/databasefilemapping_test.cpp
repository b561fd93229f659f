#include "platform/system/databasefilemapping.h"

#include <QDir>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
TEST(DatabaseFileMappingTest, OnlyTheComputersOwnFileSystemsAreMapped) {
    struct Case {
        const char* type;
        bool mapped;
    };
    const Case cases[] = {
        {"ext4", true},   {"ext3", true},    {"xfs", true},         {"btrfs", true},
        {"tmpfs", true},  {"overlay", true}, {"nfs", false},        {"nfs4", false},
        {"cifs", false},  {"smb3", false},   {"fuse.sshfs", false}, {"fuseblk", false},
        {"9p", false},    {"ceph", false},   {"", false},           {"EXT4", false},
        {"ext4x", false}, {"ext", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DatabaseFileMapping::MayMap(QByteArrayView(c.type)), c.mapped) << c.type;
    }
}

TEST(DatabaseFileMappingTest, AFileNotYetMadeIsDecidedByItsFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const bool local = DatabaseFileMapping::MayMap(QStorageInfo(dir.path()).fileSystemType());
    EXPECT_EQ(DatabaseFileMapping::MayMapFile(dir.filePath(QStringLiteral("missing.sqlite"))),
              local);
    // A folder that does not exist either has no file system to decide by.
    EXPECT_FALSE(DatabaseFileMapping::MayMapFile(
        dir.filePath(QStringLiteral("no/such/folder/file.sqlite"))));
}
} // namespace
