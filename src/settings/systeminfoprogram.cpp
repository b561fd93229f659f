#include "settings/systeminfoprogram.h"

#include <QDir>
#include <QFileInfo>

namespace SystemInfoProgram {

QStringList Candidates() {
    return {QStringLiteral("kinfocenter"), QStringLiteral("hardinfo")};
}

QString Find(const QString& configured, const QString& searchPath) {
    if (!configured.trimmed().isEmpty()) {
        return configured.trimmed();
    }
    for (const QString& candidate : Candidates()) {
        for (const QString& folder : searchPath.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
            const QFileInfo file(QDir(folder).filePath(candidate));
            if (file.isFile() && file.isExecutable()) {
                return file.absoluteFilePath();
            }
        }
    }
    return {};
}

} // namespace SystemInfoProgram
