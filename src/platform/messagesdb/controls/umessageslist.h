#pragma once

#include "platform/ui/fontpanecontrol.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

class OrlixDatabase;
class OrlixMessage;
class PaneFrame;
class QTreeWidget;
class QTreeWidgetItem;

// The messages database's list of messages of one folder. With DisplayMessageList it shows
// them in brief (From, Subject, date; unread ones bold; the newest first), headed by a
// "<New Message>" line while DisplayNewMessage is on.
//
// Refresh raises BuildList with a copy of the list's own filter text, so the host can narrow
// the list: what a handler writes into it serves that one build, and is kept nowhere else.
// Picking a line raises CurrentMessageChanged (none for the "<New Message>" line); opening one
// (double-click, Enter) raises MessageChosen, or AddNewMessage with a new e-mail for the
// "<New Message>" line.
//
// Above the list stands the database's folder tree, the current folder picked; a folder the
// user picks becomes CurrentFolder and the list is refreshed. The tree follows the database's
// folders as they change, here or on another computer; when the folder listed goes, the Inbox
// is listed.
//
// With AutoUpdate the list follows its database: a stored or deleted message brings one
// update, however many changes one event-loop turn makes, and changes arriving while the
// host holds updates (a page of it loading) make one update once it lets go. An update raises
// UpdateDue; a host that takes it over sets handled, otherwise the list refreshes itself.
class uMessagesList : public FontPaneControl {
    Q_OBJECT
public:
    // The folder a new list shows: the Inbox.
    static constexpr qint32 kDefaultFolder = 3;
    // The newest this many messages of the filter are listed: a folder of years stays quick.
    static constexpr int kListLimit = 5000;

    explicit uMessagesList(QWidget* parent = nullptr);
    ~uMessagesList() override;

    // Forgotten when the database object is destroyed.
    OrlixDatabase* Database() const;
    void SetDatabase(OrlixDatabase* database);
    bool DisplayNewMessage() const { return displayNewMessage_; }
    void SetDisplayNewMessage(bool on) { displayNewMessage_ = on; }
    bool AutoUpdate() const { return autoUpdate_; }
    void SetAutoUpdate(bool on);
    bool DisplayMessageList() const { return displayMessageList_; }
    // On: the list is built at once (raising BuildList), so that it never shows what an
    // earlier build made for another view. Off: the list is emptied and hidden.
    void SetDisplayMessageList(bool on);
    qint32 CurrentFolder() const { return currentFolder_; }
    void SetCurrentFolder(qint32 folder);
    // The list's own filter: its folder's messages, the station's and the logged-in user's
    // personal ones (others' stay out), as one parenthesised expression so that a term joined
    // to it binds to all of it; "" without a database.
    QString FilterText() const;

    // A change the list should show: one update follows at the next event-loop turn (none
    // without AutoUpdate or a database).
    void UpdateSoon();
    // While held, updates wait; letting go runs one when any fell due meanwhile.
    void SetUpdatesHeld(bool held);
    bool UpdatesHeld() const { return held_; }

    // The build just made holds only the newest kListLimit of more messages: the frame says
    // so beside the folder's name. A host that lists the messages its own way tells it here;
    // every refresh starts without it.
    void SetListCut(bool cut);
    bool ListCut() const { return cut_; }

    PaneFrame* fraList() const { return Frame(); }
    QTreeWidget* lstMessages() const { return lstMessages_; }
    QTreeWidget* tvwFolders() const { return tvwFolders_; }

Q_SIGNALS:
    void BuildList(QString& filter);
    void CurrentMessageChanged(const std::shared_ptr<OrlixMessage>& message);
    void AddNewMessage(const std::shared_ptr<OrlixMessage>& message);
    void MessageChosen(const std::shared_ptr<OrlixMessage>& message);
    // An automatic update is due; a host doing it its own way sets handled.
    void UpdateDue(bool& handled);

private:
    void refreshContent() override;
    void showState();
    void fillList(const QString& filter);
    std::shared_ptr<OrlixMessage> messageOf(const QTreeWidgetItem* item) const;
    void itemActivated(QTreeWidgetItem* item);
    void follow();
    void fillFolders();
    // The folders changed: the tree is filled again, the folder listed kept while it exists.
    void foldersChanged();
    void showFolder();
    void update();

    QPointer<OrlixDatabase> database_;
    qint32 currentFolder_ = kDefaultFolder;
    bool displayNewMessage_ = false;
    bool autoUpdate_ = true;
    bool displayMessageList_ = true;
    bool held_ = false;
    bool cut_ = false;
    bool updateQueued_ = false;
    bool dueWhileHeld_ = false;
    QList<QMetaObject::Connection> changes_;
    QTreeWidget* tvwFolders_;
    QTreeWidget* lstMessages_;
    // The messages listed, by the row's index stored in its item.
    std::vector<std::shared_ptr<OrlixMessage>> shown_;
};
