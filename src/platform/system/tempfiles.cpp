#include "platform/system/tempfiles.h"

#include "platform/system/folders.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

QString TempFolderPath(int& errorNumber) {
    errorNumber = 0;
    const QString folder = Folders::PrivateTemp();
    if (folder.isEmpty()) {
        errorNumber = errno != 0 ? errno : EACCES;
    }
    return folder;
}

QString CreateUniqueTempFile(const QString& folder, const QString& prefix) {
    if (folder.isEmpty()) {
        return {};
    }
    const QString base = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    const QString start = prefix.left(3);
    // Like the system call: a 16-bit unique number, tried until a name is free.
    quint32 number = QRandomGenerator::global()->bounded(1U, 0x10000U);
    for (int attempt = 0; attempt < 0x10000; ++attempt) {
        const QString name =
            base + start + QString::number(number, 16).toUpper() + QStringLiteral(".TMP");
        const int fd = ::open(QFile::encodeName(name).constData(),
                              O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
        if (fd >= 0) {
            ::close(fd);
            return name;
        }
        if (errno != EEXIST) {
            return {};
        }
        number = number % 0xFFFF + 1;
    }
    return {};
}
