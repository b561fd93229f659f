#pragma once

#include <QString>
#include <QVector>

class QTreeWidget;

// The folder tree of the messages database. Folder 1 is the top level (the database
// itself); the others lie below it: 2 the Outbox, 3 the Inbox (received messages), 6 Drafts,
// where new messages, replies and forwards are made.
class OrlixCategoryTree {
public:
    static constexpr qint32 kTopLevel = 1;

    struct Folder {
        qint32 Reference = 0;
        qint32 Parent = 0;
        QString Name;
        int Position = 0;
    };
    // One node for a tree view: its key, its parent's key ("" at the top) and its text.
    struct Node {
        QString Key;
        QString ParentKey;
        QString Text;
        qint32 Reference = 0;
    };

    OrlixCategoryTree() = default;
    explicit OrlixCategoryTree(QVector<Folder> folders);

    const QVector<Folder>& Folders() const { return folders_; }
    bool Exists(qint32 reference) const;
    QString FolderName(qint32 reference) const;

    // The nodes in display order (parents before their children), keyed prefix & number.
    // Without the top level, its children are the roots.
    QVector<Node> Nodes(const QString& prefix, bool includeTopLevel) const;
    // Adds one item per folder to the tree view; the key is the item's Qt::UserRole data
    // of column 0.
    void FillTreeView(QTreeWidget* tree, const QString& prefix, bool includeTopLevel) const;

private:
    void addChildren(QVector<Node>& nodes, qint32 parent, const QString& prefix,
                     const QString& parentKey, int depth) const;
    QVector<Folder> folders_;
};
