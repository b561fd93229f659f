#pragma once

#include <QtGlobal>

struct OsVersionRecord {
    qint32 PlatformId = 0;
    qint32 MajorVersion = 0;
    qint32 MinorVersion = 0;
};

// What kind of system this is. This system reports the family that has per-process memory
// figures (platform id 2), so the most detailed debug log carries them.
class OsVersionInfo {
public:
    static constexpr qint32 kPlatformWithMemoryFigures = 2;
    static void GetVersionInfo(OsVersionRecord& record);
};
