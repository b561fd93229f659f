#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class OrlixDatabase;
class QAction;
class QComboBox;
class QLabel;
class QToolBar;
class QUrl;
class uMessageBasic;
class uMessagesList;
class uWebBrowser;
enum class HoverCommand;

// The main window's controls the messages pane works through; the window owns them.
struct MessagesPaneControls {
    QWidget* owner = nullptr; // parent of the boxes, the chooser and the previews
    uMessagesList* list = nullptr;
    uMessageBasic* detail = nullptr;
    QToolBar* toolbar = nullptr;
    QComboBox* filter = nullptr;
    uWebBrowser* browser = nullptr;
    QAction* miniView = nullptr;
    // Stands in the browser's place, saying why no list can be shown.
    QLabel* notice = nullptr;
};

// The "Email / SMS" tab's behaviour: the station's list page built for the chosen time window,
// the ticks read from it, the toolbar, the hover buttons and the page's command links acting
// on them, and the list rebuilt when the messages change (here or on another computer) with
// the ticks and the scroll position kept.
//
// Reading the ticks is asynchronous: every action first asks the page, then acts on the
// answer. An action started while such a read is pending is ignored.
class MessagesPane : public QObject {
    Q_OBJECT
public:
    MessagesPane(const MessagesPaneControls& controls, QObject* parent);
    ~MessagesPane() override;

    // The toolbar's buttons in their order, the filter combo in the "filter" place.
    static void FillToolbar(QToolBar* toolbar, QComboBox* filter);
    // The path of the rendered page, under the program's data folder.
    static QString RenderedPagePath();

    // Renders the list for the list's filter (the time window added) and shows it. A build
    // the user asked for starts unticked at the top.
    void ctlMessages_BuildList(QString& filter);
    // The ticked references in document order, by callback; empty without a page.
    void GetSelectedMessageIds(std::function<void(const QList<qint32>&)> done);
    // Unticks every tick box and forgets ticks carried over a rebuild.
    void ClearMessageSelection();
    // Runs a batch mode (0 delete, 1 move, 2 copy, 3 print) on references; the count done.
    qint32 ActOnSelectedMessages(qint32 mode, const QList<qint32>& references);

    void cmdMessagesOpen_Click();
    void cmdMessagesReply_Click();
    void cmdMessagesReplyAll_Click();
    void cmdMessagesForward_Click();
    void toolbarMessages_ButtonClick(const QString& key);
    // A link the user clicked in the list page: command links run here, web and mail
    // addresses go to the desktop, jumps inside the page go on, anything else is refused.
    void ctlMessageBrowser_BeforeNavigate(const QString& url, bool* cancel);

    // The messages changed: one rebuild keeping ticks and scroll position follows.
    void MessagesChanged();

    bool ReadPending() const { return readPending_; }

    // Shows or hides the page's place: the list page, or the notice of why it cannot be made.
    void ShowPageView(bool shown);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

Q_SIGNALS:
    // An action of the toolbar, the hover buttons or a link has run to its end (what: the key
    // or the link's word).
    void ActionFinished(const QString& what);
    // A list page has loaded and the carried ticks and position are back.
    void ListShown();

private:
    // Reads the ticks for an action, unless one is pending; the action runs on the answer.
    void withTicks(const QString& what, std::function<void(const QList<qint32>&)> action);
    void reply(HoverCommand command, const QString& what);
    void runCommand(const QString& command, const QString& what);
    void fileOne(qint32 reference, bool move);
    void rebuildKeepingState();
    void holdUpdates();
    void pageLoaded(bool ok);
    bool miniView() const;
    // The page cannot be made: the notice stands in its place, and the cause is logged once
    // until the page can be made again.
    void showNotice(const QString& text, const QString& logLine);
    void hideNotice();
    static bool isRenderedPage(const QUrl& url);
    OrlixDatabase* database() const;

    MessagesPaneControls c_;
    bool readPending_ = false;
    bool loading_ = false;
    bool restoring_ = false;
    quint64 pageGeneration_ = 0;
    bool keepState_ = false;
    // A page loaded while the view was out of sight: the engine may show it blank once the
    // view appears, so it is built again then.
    bool loadedHidden_ = false;
    // Bumped by every untick: a carried tick read before it is dropped.
    quint64 selectionEpoch_ = 0;
    struct Carried {
        QList<qint32> references;
        QPoint scroll;
    };
    std::optional<Carried> carried_;
    bool pageView_ = true;
    bool noticeShown_ = false;
    QString causeLogged_;
};
