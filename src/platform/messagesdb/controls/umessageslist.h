#pragma once

#include "platform/ui/fontpanecontrol.h"

#include <QPointer>
#include <QString>

#include <memory>

class OrlixDatabase;
class OrlixMessage;
class PaneFrame;

// The messages database's list of messages of one folder. For now it holds its settings and
// shows which folder it stands for; listing the messages comes later.
//
// Refresh raises BuildList with a copy of the list's own filter text, so the host can narrow
// the list: what a handler writes into it serves that one build, and is kept nowhere else.
// AutoUpdate is held for the list to come; it reloads nothing by itself yet.
class uMessagesList : public FontPaneControl {
    Q_OBJECT
public:
    // The folder a new list shows: the Inbox.
    static constexpr qint32 kDefaultFolder = 3;

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
    void SetDisplayMessageList(bool on) { displayMessageList_ = on; }
    qint32 CurrentFolder() const { return currentFolder_; }
    void SetCurrentFolder(qint32 folder);
    // The list's own filter: its folder's messages, the station's and the logged-in user's
    // personal ones (others' stay out), as one parenthesised expression so that a term joined
    // to it binds to all of it; "" without a database.
    QString FilterText() const;

    PaneFrame* fraList() const { return Frame(); }

Q_SIGNALS:
    void BuildList(QString& filter);
    void CurrentMessageChanged(const std::shared_ptr<OrlixMessage>& message);
    void AddNewMessage(const std::shared_ptr<OrlixMessage>& message);
    void MessageChosen(const std::shared_ptr<OrlixMessage>& message);

private:
    void refreshContent() override;
    void showState();

    QPointer<OrlixDatabase> database_;
    qint32 currentFolder_ = kDefaultFolder;
    bool displayNewMessage_ = false;
    bool autoUpdate_ = true;
    bool displayMessageList_ = true;
};
