#include "platform/messagesdb/orlixcategorytree.h"

#include <QApplication>
#include <QHash>
#include <QStyle>
#include <QTreeWidget>

#include <algorithm>

OrlixCategoryTree::OrlixCategoryTree(QVector<Folder> folders) : folders_(std::move(folders)) {
    std::stable_sort(folders_.begin(), folders_.end(), [](const Folder& a, const Folder& b) {
        return a.Position != b.Position ? a.Position < b.Position : a.Reference < b.Reference;
    });
}

bool OrlixCategoryTree::Exists(qint32 reference) const {
    return std::any_of(folders_.begin(), folders_.end(),
                       [&](const Folder& f) { return f.Reference == reference; });
}

QString OrlixCategoryTree::FolderName(qint32 reference) const {
    for (const Folder& f : folders_) {
        if (f.Reference == reference) {
            return f.Name;
        }
    }
    return {};
}

void OrlixCategoryTree::addChildren(QVector<Node>& nodes, qint32 parent, const QString& prefix,
                                    const QString& parentKey, int depth) const {
    if (depth > 64) {
        return; // a damaged tree with a loop stops here
    }
    for (const Folder& f : folders_) {
        if (f.Parent != parent || f.Reference == parent || f.Reference < 1 || f.Reference > 32767) {
            continue;
        }
        const QString key = prefix + QString::number(f.Reference);
        nodes.push_back({key, parentKey, f.Name, f.Reference});
        addChildren(nodes, f.Reference, prefix, key, depth + 1);
    }
}

QVector<OrlixCategoryTree::Node> OrlixCategoryTree::Nodes(const QString& prefix,
                                                          bool includeTopLevel) const {
    QVector<Node> nodes;
    if (includeTopLevel) {
        addChildren(nodes, 0, prefix, QString(), 0);
    } else {
        addChildren(nodes, kTopLevel, prefix, QString(), 0);
    }
    return nodes;
}

void OrlixCategoryTree::FillTreeView(QTreeWidget* tree, const QString& prefix,
                                     bool includeTopLevel) const {
    if (tree == nullptr) {
        return;
    }
    const QIcon icon = QApplication::style()->standardIcon(QStyle::SP_DirIcon);
    QHash<QString, QTreeWidgetItem*> items;
    for (const Node& node : Nodes(prefix, includeTopLevel)) {
        QTreeWidgetItem* parent = items.value(node.ParentKey, nullptr);
        auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, node.Text);
        item->setData(0, Qt::UserRole, node.Key);
        item->setIcon(0, icon);
        items.insert(node.Key, item);
    }
    tree->expandAll();
}
