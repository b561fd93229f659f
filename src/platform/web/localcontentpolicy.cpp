#include "platform/web/localcontentpolicy.h"

#include <QDir>
#include <QFileInfo>

namespace {
// The path with every link and ".." resolved as far as it exists; what does not exist yet
// is appended to its nearest existing folder.
QString resolved(const QString& path) {
    if (path.isEmpty()) {
        return {};
    }
    QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString tail;
    QString head = clean;
    while (!head.isEmpty()) {
        const QFileInfo info(head);
        if (info.exists()) {
            const QString canonical = info.canonicalFilePath();
            return tail.isEmpty() ? canonical : QDir::cleanPath(canonical + tail);
        }
        const qsizetype slash = head.lastIndexOf(QLatin1Char('/'));
        if (slash <= 0) {
            break;
        }
        tail = head.mid(slash) + tail;
        head = head.left(slash);
    }
    return clean;
}
} // namespace

void LocalContentPolicy::AllowFolder(const QString& folder) {
    if (folder.trimmed().isEmpty()) {
        return;
    }
    const QString r = resolved(folder);
    if (!r.isEmpty() && r != QLatin1String("/") && !folders_.contains(r)) {
        folders_.append(r);
    }
}

bool LocalContentPolicy::IsInsideFolder(const QString& path, const QString& folder) {
    const QString p = resolved(path);
    const QString f = resolved(folder);
    if (p.isEmpty() || f.isEmpty()) {
        return false;
    }
    if (f == QLatin1String("/")) {
        return true;
    }
    return p == f || p.startsWith(f + QLatin1Char('/'));
}

bool LocalContentPolicy::MayLoad(const QUrl& url) const {
    if (!url.isValid()) {
        return false;
    }
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("about")) {
        return url.path() == QLatin1String("blank");
    }
    if (scheme == QLatin1String("data")) {
        return true; // inline content: nothing is fetched
    }
    if (scheme != QLatin1String("file") || !url.host().isEmpty()) {
        return false;
    }
    const QString path = url.toLocalFile();
    for (const QString& folder : folders_) {
        if (IsInsideFolder(path, folder)) {
            return true;
        }
    }
    return false;
}
