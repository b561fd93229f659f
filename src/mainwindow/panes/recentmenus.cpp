#include "mainwindow/panes/recentmenus.h"

#include "core/generalroutines.h"
#include "core/profile/usersettingskeys.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/directorywebsite.h"
#include "platform/directory/kvdirectory.h"
#include "platform/system/displaytext.h"

#include <QAction>
#include <QCursor>
#include <QMenu>
#include <QStringList>
#include <QWidget>

namespace {

constexpr int kMostLooked = 11;
} // namespace

QString RecentEntryCaption(const QString& name) {
    // One field of one line (the display rule), without the controls a menu would not show.
    QString clean = DisplayText::OneLine(name);
    clean.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    if (clean.size() > kMaxRecentCaption) {
        qsizetype keep = kMaxRecentCaption - 1;
        // Never half of a character outside the basic plane.
        if (clean.at(keep - 1).isHighSurrogate()) {
            --keep;
        }
        clean = clean.left(keep) + QChar(0x2026);
    }
    clean.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return DisplayText::Field(clean);
}

QList<qint32> RecentListReferences(const QString& list) {
    QList<qint32> out;
    if (list.isEmpty()) {
        return out;
    }
    const QStringList items = list.split(QLatin1Char('|'));
    for (qsizetype i = 0; i < items.size() && i < kMostLooked; ++i) {
        out.append(ToInteger32(ValOf(items.at(i))).value_or(0));
    }
    return out;
}

RecentMenus::RecentMenus(QMenu* contacts, QMenu* websites, QWidget* recentButton, QObject* parent)
    : QObject(parent), contacts_(contacts), websites_(websites), recentButton_(recentButton) {
    addEntry(Kind::Contacts)->setText(QStringLiteral("Contact 1"));
    addEntry(Kind::Websites)->setText(QStringLiteral("Website 1"));
    for (QMenu* menu : {contacts, websites}) {
        if (menu != nullptr) {
            menu->setEnabled(false);
        }
    }
    if (recentButton != nullptr) {
        recentButton->setEnabled(false);
    }
}

QAction* RecentMenus::addEntry(Kind kind) {
    QList<QAction*>& entries = kind == Kind::Contacts ? contactEntries_ : websiteEntries_;
    QMenu* menu = kind == Kind::Contacts ? contacts_.data() : websites_.data();
    auto* entry = new QAction(menu != nullptr ? static_cast<QObject*>(menu) : this);
    const int n = static_cast<int>(entries.size()) + 1;
    entry->setObjectName((kind == Kind::Contacts ? QStringLiteral("mnuMRUContact")
                                                 : QStringLiteral("mnuMRUWebsite")) +
                         QString::number(n));
    entry->setData(QStringLiteral("0"));
    if (menu != nullptr) {
        menu->addAction(entry);
    }
    connect(entry, &QAction::triggered, this, [this, entry, kind] {
        const qint32 reference = EntryReference(entry);
        if (kind == Kind::Contacts) {
            Q_EMIT ContactEntryChosen(reference);
        } else {
            Q_EMIT WebsiteEntryChosen(reference);
        }
    });
    entries.append(entry);
    return entry;
}

QAction* RecentMenus::ContactEntry(int n) const {
    return n >= 1 && n <= contactEntries_.size() ? contactEntries_.at(n - 1) : nullptr;
}

QAction* RecentMenus::WebsiteEntry(int n) const {
    return n >= 1 && n <= websiteEntries_.size() ? websiteEntries_.at(n - 1) : nullptr;
}

qint32 RecentMenus::EntryReference(const QAction* entry) {
    return entry != nullptr ? ToInteger32(ValOf(entry->data().toString())).value_or(0) : 0;
}

void RecentMenus::PopUpRecentContacts() {
    if (contacts_ != nullptr && contacts_->isEnabled()) {
        contacts_->popup(QCursor::pos());
    }
}

void RecentMenus::UpdateMRU(int flags, KVDirectory* directory) {
    if (directory == nullptr || directory->CurrentUser() == nullptr) {
        return;
    }
    if ((flags & 4) != 0) {
        rebuild(Kind::Contacts, directory);
    }
    if ((flags & 8) != 0) {
        rebuild(Kind::Websites, directory);
    }
}

void RecentMenus::rebuild(Kind kind, KVDirectory* directory) {
    const bool contacts = kind == Kind::Contacts;
    const QString list = ReadUserSetting(directory, contacts ? UserSettingsKeys::MRUContacts()
                                                             : UserSettingsKeys::MRUWebsites())
                             .toString();
    bool found = false;
    // An empty list leaves the entries as they are: the disabled submenu keeps them from use.
    if (!list.isEmpty()) {
        QList<QAction*>& entries = contacts ? contactEntries_ : websiteEntries_;
        int n = 0;
        for (qint32 reference : RecentListReferences(list)) {
            QString caption;
            if (contacts) {
                const KVDirectory::ContactPtr contact =
                    directory->GetContact(reference, false, false);
                if (!contact) {
                    continue;
                }
                caption = contact->Name();
            } else {
                const KVDirectory::WebsitePtr site = directory->GetWebsite(reference);
                if (!site) {
                    continue;
                }
                caption = site->Caption();
            }
            found = true;
            ++n;
            if (entries.size() < n) {
                addEntry(kind);
            }
            QAction* entry = entries.at(n - 1);
            entry->setVisible(true);
            entry->setText(RecentEntryCaption(caption));
            entry->setData(QString::number(reference));
        }
        for (qsizetype i = std::max(2, n + 1); i <= entries.size(); ++i) {
            QAction* entry = entries.at(i - 1);
            entry->setVisible(false);
            entry->setText(QString());
            entry->setData(QStringLiteral("0"));
        }
    }
    QMenu* menu = contacts ? contacts_.data() : websites_.data();
    if (menu != nullptr) {
        menu->setEnabled(found);
    }
    if (contacts && recentButton_ != nullptr) {
        recentButton_->setEnabled(found);
    }
}
