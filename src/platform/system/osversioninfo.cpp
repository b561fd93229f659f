#include "platform/system/osversioninfo.h"

#include <QStringList>
#include <QSysInfo>

void OsVersionInfo::GetVersionInfo(OsVersionRecord& record) {
    record.PlatformId = kPlatformWithMemoryFigures;
    const QStringList parts = QSysInfo::kernelVersion().split(QLatin1Char('.'));
    record.MajorVersion = parts.value(0).toInt();
    record.MinorVersion = parts.value(1).toInt();
}
