#include "mainwindow/scripttreeimages.h"

#include <QApplication>
#include <QStyle>
#include <QTreeWidgetItem>

namespace {
// Where a node keeps the keys of its two pictures.
constexpr int kImageRole = Qt::UserRole + 10;
constexpr int kExpandedImageRole = Qt::UserRole + 11;
} // namespace

QIcon ScriptTreeImage(const QString& key) {
    QStyle* style = QApplication::style();
    if (key == QLatin1String("vorela")) {
        return style->standardIcon(QStyle::SP_MediaPlay);
    }
    if (key == QLatin1String("closed")) {
        return style->standardIcon(QStyle::SP_DirClosedIcon);
    }
    if (key == QLatin1String("open")) {
        return style->standardIcon(QStyle::SP_DirOpenIcon);
    }
    if (key == QLatin1String("head")) {
        return style->standardIcon(QStyle::SP_DirHomeIcon);
    }
    if (key == QLatin1String("note")) {
        return style->standardIcon(QStyle::SP_FileIcon);
    }
    return {};
}

void SetScriptNodeImages(QTreeWidgetItem* node, const QString& image,
                         const QString& expandedImage) {
    node->setData(0, kImageRole, image);
    node->setData(0, kExpandedImageRole, expandedImage);
    FollowExpansion(node, node->isExpanded());
}

void FollowExpansion(QTreeWidgetItem* node, bool expanded) {
    const QString expandedImage = node->data(0, kExpandedImageRole).toString();
    const QString key =
        expanded && !expandedImage.isEmpty() ? expandedImage : node->data(0, kImageRole).toString();
    node->setIcon(0, ScriptTreeImage(key));
}
