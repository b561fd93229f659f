#include "platform/messagesdb/folderdraft.h"

#include <algorithm>

namespace {
QString quoted(const QString& name) {
    return QLatin1Char('\'') + name + QLatin1Char('\'');
}
} // namespace

FolderDraft::FolderDraft(QVector<Folder> folders) : folders_(std::move(folders)) {}

bool FolderDraft::IsProgramFolder(qint32 reference) {
    switch (reference) {
    case OrlixCategoryTree::kTopLevel:
    case 2: // Outbox
    case 3: // Inbox
    case 4: // Sent Items
    case 6: // Drafts
        return true;
    default:
        return false;
    }
}

const FolderDraft::Folder* FolderDraft::Find(qint32 reference) const {
    const auto it = std::find_if(folders_.cbegin(), folders_.cend(),
                                 [reference](const Folder& f) { return f.Reference == reference; });
    return it == folders_.cend() ? nullptr : &*it;
}

FolderDraft::Folder* FolderDraft::find(qint32 reference) {
    return const_cast<Folder*>(std::as_const(*this).Find(reference));
}

QVector<qint32> FolderDraft::Children(qint32 parent) const {
    QVector<const Folder*> children;
    for (const Folder& f : folders_) {
        if (f.Parent == parent && f.Reference != parent) {
            children << &f;
        }
    }
    std::stable_sort(children.begin(), children.end(), [](const Folder* a, const Folder* b) {
        return a->Position != b->Position ? a->Position < b->Position : a->Reference < b->Reference;
    });
    QVector<qint32> out;
    for (const Folder* f : children) {
        out << f->Reference;
    }
    return out;
}

QVector<qint32> FolderDraft::Subtree(qint32 reference) const {
    QVector<qint32> out;
    if (Find(reference) == nullptr) {
        return out;
    }
    out << reference;
    // Breadth first; a folder met twice (a damaged tree) is not followed again.
    for (qsizetype i = 0; i < out.size(); ++i) {
        for (qint32 child : Children(out[i])) {
            if (!out.contains(child)) {
                out << child;
            }
        }
    }
    return out;
}

QString FolderDraft::NameProblem(qint32 parent, const QString& name, qint32 except) const {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) {
        return QStringLiteral("A folder needs a name.");
    }
    if (trimmed.size() > kLongestName) {
        return QStringLiteral("A folder name can be at most %1 characters long.").arg(kLongestName);
    }
    for (qint32 sibling : Children(parent)) {
        const Folder* f = Find(sibling);
        if (sibling != except && f->Name.trimmed().compare(trimmed, Qt::CaseInsensitive) == 0) {
            const Folder* p = Find(parent);
            return QStringLiteral("There is already a folder called %1 in %2.")
                .arg(quoted(f->Name), quoted(p ? p->Name : QString()));
        }
    }
    return {};
}

QString FolderDraft::Add(qint32 parent, const QString& name, qint32* added) {
    if (Find(parent) == nullptr) {
        return QStringLiteral("Choose the folder to add the new folder to.");
    }
    if (QString problem = NameProblem(parent, name); !problem.isEmpty()) {
        return problem;
    }
    const QVector<qint32> siblings = Children(parent);
    int position = 0;
    for (qint32 s : siblings) {
        position = std::max(position, Find(s)->Position + 1);
    }
    const qint32 reference = nextNew_--;
    folders_.push_back({reference, parent, name.trimmed(), position});
    if (added) {
        *added = reference;
    }
    return {};
}

QString FolderDraft::Rename(qint32 reference, const QString& name) {
    Folder* folder = find(reference);
    if (folder == nullptr) {
        return QStringLiteral("Choose the folder to rename.");
    }
    if (QString problem = NameProblem(folder->Parent, name, reference); !problem.isEmpty()) {
        return problem;
    }
    folder->Name = name.trimmed();
    return {};
}

void FolderDraft::renumber(qint32 parent) {
    int position = 0;
    for (qint32 child : Children(parent)) {
        find(child)->Position = position++;
    }
}

QString FolderDraft::Move(qint32 reference, int step) {
    const Folder* folder = Find(reference);
    if (folder == nullptr) {
        return QStringLiteral("Choose the folder to move.");
    }
    if (IsProgramFolder(reference)) {
        return QStringLiteral("The folder %1 belongs to the program and cannot be moved.")
            .arg(quoted(folder->Name));
    }
    const qint32 parent = folder->Parent;
    renumber(parent);
    const QVector<qint32> siblings = Children(parent);
    const qsizetype at = siblings.indexOf(reference);
    const qsizetype to = at + (step < 0 ? -1 : 1);
    if (to < 0 || to >= siblings.size()) {
        return {};
    }
    std::swap(find(siblings[at])->Position, find(siblings[to])->Position);
    return {};
}

QString FolderDraft::Remove(qint32 reference, const MessageCounter& stored) {
    const Folder* folder = Find(reference);
    if (folder == nullptr) {
        return QStringLiteral("Choose the folder to remove.");
    }
    if (IsProgramFolder(reference)) {
        return QStringLiteral("The folder %1 belongs to the program and cannot be removed.")
            .arg(quoted(folder->Name));
    }
    const QVector<qint32> subtree = Subtree(reference);
    QVector<qint32> storedFolders;
    for (qint32 r : subtree) {
        if (r > 0) {
            storedFolders << r;
        }
    }
    const qint64 messages = storedFolders.isEmpty() || !stored ? 0 : stored(storedFolders);
    if (messages != 0) {
        return QStringLiteral("The folder %1 cannot be removed: it and its sub-folders hold %2.")
            .arg(quoted(folder->Name),
                 messages == 1
                     ? QStringLiteral("1 message")
                     : (messages < 0 ? QStringLiteral("messages that could not be counted")
                                     : QStringLiteral("%1 messages").arg(messages)));
    }
    const qint32 parent = folder->Parent;
    folders_.erase(std::remove_if(folders_.begin(), folders_.end(),
                                  [&](const Folder& f) { return subtree.contains(f.Reference); }),
                   folders_.end());
    renumber(parent);
    return {};
}
