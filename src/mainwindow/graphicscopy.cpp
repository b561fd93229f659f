#include "mainwindow/graphicscopy.h"

#include "core/debuglog.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// Written under a scratch name and renamed, so the page never finds half a picture; the
// copy keeps the source's time so an unchanged source is not copied again.
bool copyOne(const QFileInfo& source, const QString& target) {
    const QString scratch = target + QStringLiteral(".copying");
    QFile::remove(scratch);
    if (!QFile::copy(source.absoluteFilePath(), scratch)) {
        return false;
    }
    {
        QFile f(scratch);
        if (f.open(QIODevice::ReadWrite)) {
            f.setFileTime(source.lastModified(), QFileDevice::FileModificationTime);
        }
    }
    QFile::remove(target);
    if (!QFile::rename(scratch, target)) {
        QFile::remove(scratch);
        return false;
    }
    return true;
}
} // namespace

int CopyDatabaseGraphics(const QString& templatesFolder, const QString& targetFolder) {
    if (templatesFolder.isEmpty() || !QFileInfo(templatesFolder).isDir()) {
        return 0;
    }
    const QDir source(templatesFolder);
    int copied = 0;
    const QFileInfoList files =
        source.entryInfoList(QDir::Files | QDir::NoSymLinks | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& file : files) {
        if (!file.isFile() ||
            file.suffix().compare(QLatin1String("htm"), Qt::CaseInsensitive) == 0) {
            continue;
        }
        const QString target = targetFolder + QLatin1Char('/') + file.fileName();
        const QFileInfo existing(target);
        if (existing.exists() && file.lastModified() <= existing.lastModified()) {
            continue;
        }
        if (copyOne(file, target)) {
            ++copied;
        } else {
            DebugLog(QStringLiteral("Copying Graphics... could not copy '") +
                         file.absoluteFilePath() + QStringLiteral("' to '") + targetFolder +
                         QLatin1Char('\''),
                     5);
        }
    }
    return copied;
}
