#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// Which URLs a locked-down view may load: the empty page, inline data, and local files
// inside the folders it was given. Remote addresses, files elsewhere, links that lead out
// of an allowed folder (.. or a symbolic link) and files on another host never load.
class LocalContentPolicy {
public:
    // Adds a folder whose files (and those of its sub-folders) may load; "" is ignored.
    void AllowFolder(const QString& folder);
    const QStringList& AllowedFolders() const { return folders_; }

    bool MayLoad(const QUrl& url) const;

    // Whether path, with links and ".." resolved, lies in folder or below it.
    static bool IsInsideFolder(const QString& path, const QString& folder);

private:
    QStringList folders_; // resolved paths
};
