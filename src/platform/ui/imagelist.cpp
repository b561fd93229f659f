#include "platform/ui/imagelist.h"

#include "platform/system/platformlog.h"

void ImageList::Add(const QString& key, const QPixmap& picture) {
    pictures_.insert(key, picture);
}

QPixmap ImageList::ListImages(const QString& key) const {
    const auto found = pictures_.constFind(key);
    if (found == pictures_.constEnd()) {
        PlatformLog(QStringLiteral("Image list: no picture under the key \"%1\"").arg(key), 5);
        return {};
    }
    return *found;
}
