#pragma once

#include <QString>

class QObject;

// The studio computer's time zone for local-time conversions. With TZ unset the C library
// looks at the system's zone file again on every conversion (a file-system call for each date
// of a list), so the zone is pinned to that file for the process and read again only when the
// file changes.
namespace LocalZone {
inline constexpr const char* kSystemZoneFile = "/etc/localtime";

// Call first thing in main, before any other thread starts: sets TZ to the zone file when it
// is unset (a TZ the user set is left alone). True when it pinned.
bool Pin(const QString& zoneFile = QString::fromLatin1(kSystemZoneFile));
// After Pin pinned: watches the zone file and has it read again when it changes (the system's
// zone was changed while the program ran). The watch lives as long as owner.
void WatchForChanges(QObject* owner);
} // namespace LocalZone
