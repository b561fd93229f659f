// The database's settings dialog and what it stores: station details and the folder tree.
#include "platform/messagesdb/orlixdatabase.h"

#include "platform/messagesdb/controls/databasesettingsdialog.h"
#include "platform/messagesdb/folderdraft.h"
#include "platform/messagesdb/messagesstorage.h"
#include "platform/messagesdb/orlixcategorytree.h"
#include "platform/messagesdb/settingstable.h"
#include "platform/messagesdb/templatedraft.h"
#include "platform/system/platformlog.h"
#include "platform/ui/dialogservice.h"

#include <QHash>
#include <QSqlQuery>
#include <QVariant>

namespace {
// "?, ?, ?" for n values.
QString placeholders(qsizetype n) {
    QStringList marks;
    for (qsizetype i = 0; i < n; ++i) {
        marks << QStringLiteral("?");
    }
    return marks.join(QStringLiteral(", "));
}
} // namespace

void OrlixDatabase::ShowDatabaseSettings(QWidget* owner) {
    if (!ready("the database settings were asked for")) {
        return;
    }
    DialogInstance<DatabaseSettingsDialog> dialog(*this, owner);
    RunDialog(*dialog.get());
}

qint64 OrlixDatabase::CountFolderMessages(const QVector<qint32>& folders) {
    if (folders.isEmpty()) {
        return 0;
    }
    if (!ready("the messages of folders were counted")) {
        return -1;
    }
    QSqlQuery q =
        storage_->Prepare(QStringLiteral("SELECT COUNT(*) FROM messages WHERE folder IN (%1)")
                              .arg(placeholders(folders.size())));
    for (qint32 f : folders) {
        q.addBindValue(f);
    }
    if (!MessagesStorage::Exec(q, "counting the messages of folders") || !q.next()) {
        return -1;
    }
    return q.value(0).toLongLong();
}

bool OrlixDatabase::StoreDatabaseSettings(const StationDetails& station,
                                          const QVector<OrlixCategoryTree::Folder>& folders,
                                          QString* problem, const TemplateDraft* templates) {
    const auto refuse = [problem](const QString& why) {
        if (problem) {
            *problem = why;
        }
        return false;
    };
    if (!ready("the database settings were stored")) {
        return refuse(QStringLiteral("The messages database is not open."));
    }
    const QString unwritten = QStringLiteral("The messages database could not be written.");
    for (qint32 own : {OrlixCategoryTree::kTopLevel, 2, 3, 4, 6}) {
        if (std::none_of(folders.cbegin(), folders.cend(),
                         [own](const auto& f) { return f.Reference == own; })) {
            return refuse(QStringLiteral("The program's own folders must stay."));
        }
    }
    MessagesTransaction tx(*storage_);
    if (!tx.Active()) {
        return refuse(unwritten);
    }
    const std::pair<const char*, QString> values[] = {
        {"StationName", station.Name.trimmed()},
        {"StationAddress", station.Address.trimmed()},
        {"StationPhoneNumber", station.PhoneNumber.trimmed()},
        {"StationSMSPhoneNumber", station.SmsPhoneNumber.trimmed()},
        {"StationCompanyNumber", station.CompanyNumber.trimmed()},
        {"StationVATNumber", station.VatNumber.trimmed()},
    };
    // Only what the user changed is written, so that the other computers re-read the station
    // only when it changed.
    bool read = false;
    const QHash<QString, QString> before = SettingsTable::ReadAll(*storage_, read);
    if (!read) {
        return refuse(unwritten);
    }
    for (const auto& [name, value] : values) {
        const QString key = QLatin1String(name);
        if (before.value(key) == value) {
            continue;
        }
        // A null text would be stored as NULL, which the table refuses.
        if (!SettingsTable::Set(*storage_, key, value.isNull() ? QStringLiteral("") : value)) {
            return refuse(unwritten);
        }
    }

    // The folders as stored now, read inside the transaction: another computer may have
    // filed a message in a folder the user removed, or removed a folder meanwhile.
    QHash<qint32, QString> stored;
    {
        QSqlQuery q = storage_->Prepare(QStringLiteral("SELECT reference, name FROM folders"));
        if (!MessagesStorage::Exec(q, "reading the folder tree")) {
            return refuse(unwritten);
        }
        while (q.next()) {
            stored.insert(q.value(0).toInt(), q.value(1).toString());
        }
    }
    QVector<qint32> removed;
    for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
        if (std::none_of(folders.cbegin(), folders.cend(),
                         [&](const auto& f) { return f.Reference == it.key(); })) {
            removed << it.key();
        }
    }
    for (qint32 gone : removed) {
        const qint64 held = CountFolderMessages({gone});
        if (held != 0) {
            return refuse(QStringLiteral("The folder '%1' now holds messages, so it was not "
                                         "removed; nothing was stored.")
                              .arg(stored.value(gone)));
        }
        QSqlQuery q = storage_->Prepare(QStringLiteral("DELETE FROM folders WHERE reference = ?"));
        q.addBindValue(gone);
        if (!MessagesStorage::Exec(q, "removing a folder")) {
            return refuse(unwritten);
        }
    }

    // New folders (negative references) get theirs as they are stored, parents first.
    QHash<qint32, qint32> made;
    const auto real = [&made](qint32 r) { return r < 0 ? made.value(r, 0) : r; };
    QVector<OrlixCategoryTree::Folder> pending = folders;
    while (!pending.isEmpty()) {
        const qsizetype before = pending.size();
        for (qsizetype i = 0; i < pending.size();) {
            const auto& f = pending[i];
            const qint32 parent = f.Reference == OrlixCategoryTree::kTopLevel ? 0 : real(f.Parent);
            if (f.Reference != OrlixCategoryTree::kTopLevel && parent == 0) {
                ++i; // its parent is not stored yet
                continue;
            }
            if (f.Reference > 0) {
                if (!stored.contains(f.Reference)) {
                    return refuse(QStringLiteral("The folder '%1' was removed on another computer "
                                                 "meanwhile; nothing was stored.")
                                      .arg(f.Name));
                }
                QSqlQuery q = storage_->Prepare(QStringLiteral(
                    "UPDATE folders SET parent = ?, name = ?, position = ? WHERE reference = ?"));
                q.addBindValue(parent);
                q.addBindValue(f.Name.trimmed());
                q.addBindValue(f.Position);
                q.addBindValue(f.Reference);
                if (!MessagesStorage::Exec(q, "storing a folder")) {
                    return refuse(unwritten);
                }
            } else {
                QSqlQuery q = storage_->Prepare(QStringLiteral(
                    "INSERT INTO folders (parent, name, position) VALUES (?, ?, ?)"));
                q.addBindValue(parent);
                q.addBindValue(f.Name.trimmed());
                q.addBindValue(f.Position);
                if (!MessagesStorage::Exec(q, "adding a folder")) {
                    return refuse(unwritten);
                }
                made.insert(f.Reference, q.lastInsertId().toInt());
            }
            pending.removeAt(i);
        }
        if (pending.size() == before) {
            return refuse(QStringLiteral("The folder tree is not whole; nothing was stored."));
        }
    }

    if (templates != nullptr) {
        const QStringList categories = TemplateDraft::Categories();
        QSqlQuery clear =
            storage_->Prepare(QStringLiteral("DELETE FROM templates WHERE category IN (%1)")
                                  .arg(placeholders(categories.size())));
        for (const QString& c : categories) {
            clear.addBindValue(c);
        }
        if (!MessagesStorage::Exec(clear, "replacing the templates")) {
            return refuse(unwritten);
        }
        QHash<QString, int> positions;
        for (const TemplateDraft::Template& t : templates->Templates()) {
            QSqlQuery q = storage_->Prepare(QStringLiteral(
                "INSERT INTO templates (category, name, file_name, position) VALUES (?, ?, ?, ?)"));
            q.addBindValue(t.Category);
            q.addBindValue(t.Name);
            q.addBindValue(t.FileName);
            q.addBindValue(positions[t.Category]++);
            if (!MessagesStorage::Exec(q, "storing a template")) {
                return refuse(unwritten);
            }
        }
    }

    // The commit announces the folders, the station and the templates, here and to the other
    // computers, once the tree and the texts are read again.
    if (!tx.Commit()) {
        return refuse(unwritten);
    }
    return true;
}
