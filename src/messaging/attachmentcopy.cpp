#include "messaging/attachmentcopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QMimeType>
#include <QSet>

namespace attachmentcopy {

QString CopyPath(const QString& folder, const QString& safeName) {
    if (folder.isEmpty()) {
        return {};
    }
    QString name = safeName;
    if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral("..") ||
        name.contains(u'/') || name.contains(u'\\') || name.contains(QChar(0))) {
        name = QStringLiteral("attachment");
    }
    return QDir(folder).filePath(name);
}

bool ClearCopyPath(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        return true;
    }
    if (info.isDir() && !info.isSymLink()) {
        return false;
    }
    // QFile::remove takes the link away, not its target.
    return QFile::remove(path) || (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink());
}

bool IsProgram(const QString& path) {
    static const QSet<QString> kExtensions = {
        QStringLiteral("exe"),      QStringLiteral("com"),      QStringLiteral("bat"),
        QStringLiteral("cmd"),      QStringLiteral("scr"),      QStringLiteral("pif"),
        QStringLiteral("msi"),      QStringLiteral("vbs"),      QStringLiteral("vbe"),
        QStringLiteral("js"),       QStringLiteral("jse"),      QStringLiteral("wsf"),
        QStringLiteral("wsh"),      QStringLiteral("hta"),      QStringLiteral("cpl"),
        QStringLiteral("jar"),      QStringLiteral("sh"),       QStringLiteral("bash"),
        QStringLiteral("zsh"),      QStringLiteral("csh"),      QStringLiteral("ksh"),
        QStringLiteral("desktop"),  QStringLiteral("ps1"),      QStringLiteral("py"),
        QStringLiteral("pl"),       QStringLiteral("rb"),       QStringLiteral("run"),
        QStringLiteral("bin"),      QStringLiteral("appimage"), QStringLiteral("lnk"),
        QStringLiteral("reg"),      QStringLiteral("deb"),      QStringLiteral("rpm"),
        QStringLiteral("elf"),      QStringLiteral("so"),       QStringLiteral("flatpakref"),
        QStringLiteral("snap"),     QStringLiteral("command"),  QStringLiteral("action"),
        QStringLiteral("workflow"), QStringLiteral("url"),      QStringLiteral("scf"),
        QStringLiteral("inf"),      QStringLiteral("msp"),      QStringLiteral("application"),
        QStringLiteral("pyw"),      QStringLiteral("pyc"),      QStringLiteral("php"),
        QStringLiteral("ws"),       QStringLiteral("msc"),      QStringLiteral("gadget"),
    };
    const QString name = QFileInfo(path).fileName();
    // Every extension counts: "song.mp3.exe" and "song.exe.txt" both name a program somewhere.
    const QStringList parts = name.toLower().split(u'.');
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (kExtensions.contains(parts.at(i).trimmed())) {
            return true;
        }
    }
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray head = file.read(64);
        if (head.startsWith("#!") ||
            head.startsWith("\x7f"
                            "ELF") ||
            head.startsWith("MZ") || head.startsWith("[Desktop Entry]") ||
            head.startsWith("\xca\xfe\xba\xbe")) {
            return true;
        }
    }
    static const char* const kProgramTypes[] = {
        "application/x-executable",
        "application/x-sharedlib",
        "application/x-pie-executable",
        "application/x-desktop",
        "application/x-shellscript",
        "text/x-script",
        "application/x-msdownload",
        "application/x-ms-dos-executable",
        "application/x-msi",
        "application/x-java-archive",
        "application/javascript",
        "application/x-perl",
        "text/x-python",
        "application/x-ruby",
        "application/x-executable-script",
    };
    const QMimeDatabase types;
    for (const QMimeType& type : {types.mimeTypeForFile(path, QMimeDatabase::MatchExtension),
                                  types.mimeTypeForFile(path, QMimeDatabase::MatchContent)}) {
        for (const char* program : kProgramTypes) {
            if (type.inherits(QString::fromLatin1(program))) {
                return true;
            }
        }
    }
    return false;
}

bool IsOpenedKind(const QString& path) {
    static const QSet<QString> kDocuments = {
        QStringLiteral("text/plain"),
        QStringLiteral("text/csv"),
        QStringLiteral("application/pdf"),
        QStringLiteral("application/rtf"),
        QStringLiteral("application/vnd.oasis.opendocument.text"),
        QStringLiteral("application/vnd.oasis.opendocument.spreadsheet"),
        QStringLiteral("application/vnd.oasis.opendocument.presentation"),
        QStringLiteral("application/msword"),
        QStringLiteral("application/vnd.openxmlformats-officedocument.wordprocessingml.document"),
        QStringLiteral("application/vnd.ms-excel"),
        QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"),
        QStringLiteral("application/vnd.ms-powerpoint"),
        QStringLiteral("application/vnd.openxmlformats-officedocument.presentationml.presentation"),
    };
    const QString type =
        QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
    if (kDocuments.contains(type)) {
        return true;
    }
    if (type.startsWith(QLatin1String("image/"))) {
        return type != QLatin1String("image/svg+xml"); // a picture that can hold script
    }
    return type.startsWith(QLatin1String("audio/")) || type.startsWith(QLatin1String("video/"));
}

QString OpenRefusal(const QString& path) {
    if (IsProgram(path)) {
        return QString::fromUtf8(kProgramRefusal);
    }
    if (!IsOpenedKind(path)) {
        return QString::fromUtf8(kKindRefusal);
    }
    return {};
}

} // namespace attachmentcopy
