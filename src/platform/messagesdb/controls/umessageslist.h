#pragma once

#include "platform/ui/fontpanecontrol.h"

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
// AutoUpdate is held for later; it reloads nothing by itself yet.
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
    void SetAutoUpdate(bool on) { autoUpdate_ = on; }
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

    PaneFrame* fraList() const { return Frame(); }
    QTreeWidget* lstMessages() const { return lstMessages_; }

Q_SIGNALS:
    void BuildList(QString& filter);
    void CurrentMessageChanged(const std::shared_ptr<OrlixMessage>& message);
    void AddNewMessage(const std::shared_ptr<OrlixMessage>& message);
    void MessageChosen(const std::shared_ptr<OrlixMessage>& message);

private:
    void refreshContent() override;
    void showState();
    void fillList(const QString& filter);
    std::shared_ptr<OrlixMessage> messageOf(const QTreeWidgetItem* item) const;
    void itemActivated(QTreeWidgetItem* item);

    QPointer<OrlixDatabase> database_;
    qint32 currentFolder_ = kDefaultFolder;
    bool displayNewMessage_ = false;
    bool autoUpdate_ = true;
    bool displayMessageList_ = true;
    QTreeWidget* lstMessages_;
    // The messages listed, by the row's index stored in its item.
    std::vector<std::shared_ptr<OrlixMessage>> shown_;
};
