#pragma once

#include <QObject>
#include <QString>

class KVDirectory;

// The three recent-item lists of the logged-in user, kept in the user's own settings:
// references as decimal text joined by "|", newest first, at most 10.

// The refresh flags the main window's recent menus are rebuilt with.
enum MRUFlag : int { MRUContactsFlag = 4, MRUWebsitesFlag = 8, MRUMessagesFlag = 32 };

// The one notification that asks the main window to rebuild its recent menus. The main
// window connects UpdateMRU when it exists; with nothing connected the lists are still read
// and written.
class MRUNotifier : public QObject {
    Q_OBJECT
public:
    static MRUNotifier& Instance();

Q_SIGNALS:
    void UpdateMRU(int flags);

private:
    MRUNotifier() = default;
};

// Puts item (trimmed) at the head of the list text; an entry equal to it, without regard to
// letter case, moves rather than repeats, and at most 9 older entries stay behind it.
QString AddToMRUList(const QString& item, const QString& list);

// Each reads the list of the logged-in user, puts the reference first, writes it back and
// then notifies with its flag. Nothing happens without a directory, with nobody logged in or
// for reference 0.
void AddContactToMRU(KVDirectory* directory, qint32 reference);
void AddWebsiteToMRU(KVDirectory* directory, qint32 reference);
void AddMessageToMRU(KVDirectory* directory, qint32 reference);
