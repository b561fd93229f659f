#pragma once

#include <QHash>
#include <QPixmap>
#include <QString>

// Pictures kept under keys, for the controls that show them by reference. An unknown key
// gives no picture (a null pixmap) and a debug-log line.
class ImageList {
public:
    void Add(const QString& key, const QPixmap& picture);
    QPixmap ListImages(const QString& key) const;
    bool Contains(const QString& key) const { return pictures_.contains(key); }
    qsizetype Count() const { return pictures_.size(); }

private:
    QHash<QString, QPixmap> pictures_;
};
