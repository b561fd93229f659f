#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class KVDirectory;
class QAction;
class QMenu;
class QWidget;

// The text of a recent-menu entry for a name: shown literally ("&" doubled, so it makes no
// access key), control and direction-changing characters dropped, at most kMaxCaption
// characters with "…" in place of the rest.
QString RecentEntryCaption(const QString& name);
constexpr int kMaxRecentCaption = 60;

// The references a recent list names, in its order: at most the first eleven items, each
// read as a number (0 for one that is none).
QList<qint32> RecentListReferences(const QString& list);

// The File menu's "Recent &Contacts" and "Recent &Websites": each an array of entries whose
// first is the design's ("Contact 1", "Website 1"); further entries are added as needed and
// never removed. An entry keeps its Reference as text in its data (its tag); a hidden one
// has no caption and tag "0".
class RecentMenus : public QObject {
    Q_OBJECT
public:
    // recentButton is the contacts pane's button that pops the contacts submenu up.
    RecentMenus(QMenu* contacts, QMenu* websites, QWidget* recentButton, QObject* parent);

    // Rebuilds the menus the flags name (4 contacts, 8 websites) from the logged-in user's
    // recent lists. Nothing happens without a directory or with nobody logged in.
    void UpdateMRU(int flags, KVDirectory* directory);

    // Entry n of an array, from 1; null past its end.
    QAction* ContactEntry(int n) const;
    QAction* WebsiteEntry(int n) const;
    int ContactEntryCount() const { return static_cast<int>(contactEntries_.size()); }
    int WebsiteEntryCount() const { return static_cast<int>(websiteEntries_.size()); }

    // Pops the contacts submenu up at the mouse pointer.
    void PopUpRecentContacts();

    // The tag of an entry, as the Reference it names.
    static qint32 EntryReference(const QAction* entry);

Q_SIGNALS:
    void ContactEntryChosen(qint32 reference);
    void WebsiteEntryChosen(qint32 reference);

private:
    enum class Kind { Contacts, Websites };
    QAction* addEntry(Kind kind);
    void rebuild(Kind kind, KVDirectory* directory);

    QPointer<QMenu> contacts_;
    QPointer<QMenu> websites_;
    QPointer<QWidget> recentButton_;
    QList<QAction*> contactEntries_;
    QList<QAction*> websiteEntries_;
};
