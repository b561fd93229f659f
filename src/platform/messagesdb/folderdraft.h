#pragma once

#include "platform/messagesdb/orlixcategorytree.h"

#include <QString>
#include <QVector>

#include <functional>

// The folder tree as the database settings dialog edits it: every change is made here first
// and stored whole on OK. A folder added here has a negative reference until it is stored.
//
// The program's own folders (the top folder, the Outbox, the Inbox, Sent Items and Drafts)
// can be renamed but never removed or moved; the station's own folders can be added under
// any folder, renamed, moved among their siblings and removed while they hold no message.
class FolderDraft {
public:
    using Folder = OrlixCategoryTree::Folder;
    // How many stored messages the folders hold, all together.
    using MessageCounter = std::function<qint64(const QVector<qint32>& folders)>;

    static constexpr int kLongestName = 64;

    explicit FolderDraft(QVector<Folder> folders);

    static bool IsProgramFolder(qint32 reference);
    // Why the name cannot be given to a folder under parent ("" when it can); except is the
    // folder being renamed, whose own name is no clash.
    QString NameProblem(qint32 parent, const QString& name, qint32 except = 0) const;

    const QVector<Folder>& Folders() const { return folders_; }
    const Folder* Find(qint32 reference) const;
    // The folder and every folder below it.
    QVector<qint32> Subtree(qint32 reference) const;
    // The children of parent in their order.
    QVector<qint32> Children(qint32 parent) const;

    // Each gives "" when done, else why not, for the user; a refused change changes nothing.
    QString Add(qint32 parent, const QString& name, qint32* added = nullptr);
    QString Rename(qint32 reference, const QString& name);
    // step -1 moves the folder up among its siblings, +1 down; at either end nothing moves.
    QString Move(qint32 reference, int step);
    QString Remove(qint32 reference, const MessageCounter& stored);

private:
    Folder* find(qint32 reference);
    void renumber(qint32 parent);

    QVector<Folder> folders_;
    qint32 nextNew_ = -1;
};
