#pragma once

#include <QIcon>
#include <QString>

class QTreeWidgetItem;

// The script tree's pictures by key: "vorela" (the playout log's scripts), "closed" and "open"
// (a folder of scripts), "note" (one script), "head" (the user's own script). An unknown key gives
// no picture.
QIcon ScriptTreeImage(const QString& key);

// Gives a node its picture and, when expandedImage is not empty, the picture it shows while
// expanded; FollowExpansion swaps them as the node opens and closes.
void SetScriptNodeImages(QTreeWidgetItem* node, const QString& image,
                         const QString& expandedImage = QString());
void FollowExpansion(QTreeWidgetItem* node, bool expanded);
