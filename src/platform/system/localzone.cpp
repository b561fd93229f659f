#include "platform/system/localzone.h"

#include "platform/system/platformlog.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>

#include <cstdlib>
#include <ctime>
#include <memory>

namespace {
QString gZoneFile;
bool gPinned = false;
// The C library reads the zone again only when TZ's text changes, so a change is told by
// switching between two spellings of the same file.
bool gAlternate = false;

QByteArray spelling(bool alternate) {
    const QFileInfo file(gZoneFile);
    const QString path = alternate ? file.absolutePath() + QStringLiteral("/./") + file.fileName()
                                   : file.absoluteFilePath();
    return QByteArray(":") + QFile::encodeName(path);
}

// What tells a changed zone: where the link points and when the file was written.
QString signature() {
    const QFileInfo file(gZoneFile);
    return file.symLinkTarget() + QLatin1Char('|') +
           QString::number(file.lastModified().toMSecsSinceEpoch()) + QLatin1Char('|') +
           QString::number(file.size());
}
} // namespace

bool LocalZone::Pin(const QString& zoneFile) {
    if (qEnvironmentVariableIsSet("TZ")) {
        return false;
    }
    gZoneFile = zoneFile;
    gAlternate = false;
    ::setenv("TZ", spelling(false).constData(), 1);
    ::tzset();
    gPinned = true;
    return true;
}

void LocalZone::WatchForChanges(QObject* owner) {
    if (!gPinned || owner == nullptr) {
        return;
    }
    auto* watcher = new QFileSystemWatcher(owner);
    const QFileInfo file(gZoneFile);
    // The folder too: setting a zone usually replaces the file or its link, which ends a
    // watch on the file itself.
    watcher->addPath(file.absolutePath());
    if (file.exists()) {
        watcher->addPath(file.absoluteFilePath());
    }
    auto last = std::make_shared<QString>(signature());
    const auto check = [watcher, last] {
        const QString now = signature();
        if (now == *last) {
            return;
        }
        *last = now;
        gAlternate = !gAlternate;
        // Runs on the main thread's event loop, as rarely as the system's zone changes.
        ::setenv("TZ", spelling(gAlternate).constData(), 1);
        ::tzset();
        const QString path = QFileInfo(gZoneFile).absoluteFilePath();
        if (QFileInfo::exists(path) && !watcher->files().contains(path)) {
            watcher->addPath(path);
        }
        PlatformLog(QStringLiteral("The system's time zone changed; local times follow it"));
    };
    QObject::connect(watcher, &QFileSystemWatcher::fileChanged, watcher, check);
    QObject::connect(watcher, &QFileSystemWatcher::directoryChanged, watcher, check);
}
