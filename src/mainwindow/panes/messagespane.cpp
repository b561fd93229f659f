#include "mainwindow/panes/messagespane.h"

#include "core/debuglog.h"
#include "core/dialogs/frmchoosecategorytree.h"
#include "core/printing/templateprinting.h"
#include "core/program.h"
#include "core/windows/windowopeners.h"
#include "mainwindow/messagebatch.h"
#include "mainwindow/messagelistcommand.h"
#include "mainwindow/messagelistfilter.h"
#include "mainwindow/messagetickboxes.h"
#include "mainwindow/messagetoolbar.h"
#include "mainwindow/panes/messagelistpage.h"
#include "messaging/emailrules.h"
#include "messaging/frmmessage.h"
#include "platform/messagesdb/controls/umessagebasic.h"
#include "platform/messagesdb/controls/umessageslist.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixmessagelist.h"
#include "platform/system/desktopopener.h"
#include "platform/ui/imagelist.h"
#include "platform/ui/messagebox.h"
#include "platform/ui/mousepointer.h"
#include "platform/ui/toolbarcaptions.h"
#include "platform/ui/toolbarimages.h"
#include "platform/web/documentnavigationpolicy.h"
#include "platform/web/documentwalk.h"
#include "platform/web/uwebbrowser.h"
#include "platform/web/webbrowser.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <exception>

namespace {

// Runs a handler's body so that nothing it throws leaves the event handler.
template <typename F> void guarded(const char* where, F&& body) {
    try {
        body();
    } catch (const std::exception& e) {
        DebugLog(QStringLiteral("The messages pane's ") + QLatin1String(where) +
                     QStringLiteral(" failed: ") + QString::fromUtf8(e.what()),
                 1);
    } catch (...) {
        DebugLog(QStringLiteral("The messages pane's ") + QLatin1String(where) +
                     QStringLiteral(" failed"),
                 1);
    }
}

void exclaim(const QString& text, QWidget* owner) {
    MsgBox(text, MsgIcon::Exclamation, MsgButtons::OK, 0, owner);
}

QList<MessageTickBox> tickBoxesOf(const QList<DocumentInput>& inputs) {
    QList<MessageTickBox> boxes;
    boxes.reserve(inputs.size());
    for (const DocumentInput& input : inputs) {
        boxes.append({input.name, input.checked});
    }
    return boxes;
}

// The database's calls for a batch, with the folder chooser and the print of what it gathered.
class PaneBatchTarget : public MessageBatchTarget {
public:
    PaneBatchTarget(OrlixDatabase& database, qint32 currentFolder, QWidget* owner)
        : db_(database), currentFolder_(currentFolder), owner_(owner) {}

    qint32 ChooseFolder(const QString& caption) override {
        return frmChooseCategoryTree::ChooseCategory(
            db_.CategoryTree().get(), false, static_cast<qint16>(currentFolder_), caption, owner_);
    }
    void Begin() override {
        pointer_.emplace(MousePointerGuard::Hourglass);
        db_.SetEventsEnabled(false);
    }
    void Finish() override {
        db_.SetEventsEnabled(true);
        pointer_.reset();
    }
    bool Delete(qint32 reference) override {
        bool ok = false;
        db_.DeleteMessage(reference, false, ok);
        return ok;
    }
    bool Move(qint32 reference, qint32 folder) override {
        bool ok = false;
        db_.MoveMessage(reference, folder, ok);
        return ok;
    }
    bool Copy(qint32 reference, qint32 folder) override {
        bool ok = false;
        db_.CopyMessage(reference, folder, ok);
        return ok;
    }
    bool Gather(qint32 reference) override {
        const std::shared_ptr<OrlixMessage> message = db_.GetMessage(reference);
        if (!message) {
            return false;
        }
        bool ok = false;
        gathered_.AddMessage(message, ok);
        return ok;
    }
    void AnnounceDeleted() override { db_.AnnounceMessageDeleted(nullptr); }
    void AnnounceChanged() override { db_.AnnounceMessageChanged(nullptr, true); }
    void PrintGathered() override { PrintMessagesFromTemplate(&gathered_, owner_); }

private:
    OrlixDatabase& db_;
    qint32 currentFolder_;
    QWidget* owner_;
    OrlixMessageList gathered_;
    std::optional<MousePointerGuard> pointer_;
};

} // namespace

MessagesPane::MessagesPane(const MessagesPaneControls& controls, QObject* parent)
    : QObject(parent), c_(controls) {
    c_.browser->SetCommandLinks(true);
    c_.browser->installEventFilter(this);
    connect(c_.list, &uMessagesList::BuildList, this, [this](QString& filter) {
        guarded("list build", [&] { ctlMessages_BuildList(filter); });
    });
    connect(c_.list, &uMessagesList::CurrentMessageChanged, this,
            [this](const std::shared_ptr<OrlixMessage>& message) {
                if (miniView()) {
                    c_.detail->SetMessage(message);
                }
            });
    connect(c_.list, &uMessagesList::AddNewMessage, this,
            [](const std::shared_ptr<OrlixMessage>& message) {
                guarded("new message", [&] {
                    std::shared_ptr<OrlixMessage> made = message;
                    NewMessage(made, message ? message->Kind() : OrlixMessage::KindEmail);
                });
            });
    connect(c_.list, &uMessagesList::MessageChosen, this,
            [](const std::shared_ptr<OrlixMessage>& message) {
                guarded("open", [&] { OpenMessage(message, 0); });
            });
    connect(c_.toolbar, &QToolBar::actionTriggered, this, [this](QAction* action) {
        const QString key = action->objectName();
        guarded("toolbar", [&] {
            switch (HoverCommandFor(key)) {
            case HoverCommand::Open:
                cmdMessagesOpen_Click();
                break;
            case HoverCommand::Reply:
                cmdMessagesReply_Click();
                break;
            case HoverCommand::ReplyAll:
                cmdMessagesReplyAll_Click();
                break;
            case HoverCommand::Forward:
                cmdMessagesForward_Click();
                break;
            case HoverCommand::None:
                toolbarMessages_ButtonClick(key);
                break;
            }
        });
    });
    connect(c_.browser, &uWebBrowser::BeforeNavigate, this,
            [this](const QString& url, bool* cancel) {
                *cancel = true;
                guarded("link", [&] { ctlMessageBrowser_BeforeNavigate(url, cancel); });
            });
    connect(c_.browser, &uWebBrowser::LoadFinished, this,
            [this](bool ok) { guarded("page load", [&] { pageLoaded(ok); }); });

    // The list follows the database and gathers its changes; its updates keep the ticks and
    // the scroll position here.
    connect(c_.list, &uMessagesList::UpdateDue, this, [this](bool& handled) {
        handled = true;
        guarded("rebuild", [this] { rebuildKeepingState(); });
    });
    frmMessage::SetMessageListHooks(
        [list = QPointer<uMessagesList>(c_.list)] {
            return list ? list->CurrentFolder() : qint32(0);
        },
        [this] { MessagesChanged(); });
}

MessagesPane::~MessagesPane() {
    frmMessage::SetMessageListHooks({}, {});
}

void MessagesPane::FillToolbar(QToolBar* toolbar, QComboBox* filter) {
    ImageList pictures;
    FillToolbarImages(pictures);
    toolbar->setIconSize(QSize(16, 16));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (const MessageToolbarButton& button : MessageToolbarButtons()) {
        QAction* action = nullptr;
        if (button.separator) {
            action = toolbar->addSeparator();
        } else if (button.key == QLatin1String("filter")) {
            action = toolbar->addWidget(filter);
        } else {
            action = toolbar->addAction(button.caption.isEmpty() ? button.toolTip : button.caption);
            action->setToolTip(button.toolTip);
            action->setIcon(QIcon(pictures.ListImages(button.image)));
            // Only the buttons with a caption of their own show it beside the picture.
            auto* shown = qobject_cast<QToolButton*>(toolbar->widgetForAction(action));
            if (shown != nullptr && button.caption.isEmpty()) {
                shown->setToolButtonStyle(Qt::ToolButtonIconOnly);
            }
        }
        action->setObjectName(button.key);
    }
    ToolbarCaptions::FitToWidth(toolbar);
}

QString MessagesPane::RenderedPagePath() {
    return MessageListPage::RenderedPath(Program::Instance().DataFolder());
}

OrlixDatabase* MessagesPane::database() const {
    return Program::Instance().Database();
}

bool MessagesPane::isRenderedPage(const QUrl& url) {
    return url.isLocalFile() && QFileInfo(url.toLocalFile()).absoluteFilePath() ==
                                    QFileInfo(RenderedPagePath()).absoluteFilePath();
}

namespace {
QString templateCause(MessageListPage::TemplateState state) {
    switch (state) {
    case MessageListPage::TemplateState::Missing:
        return QStringLiteral("is missing");
    case MessageListPage::TemplateState::Empty:
        return QStringLiteral("is empty");
    case MessageListPage::TemplateState::Unreadable:
        return QStringLiteral("cannot be read");
    case MessageListPage::TemplateState::Read:
        break;
    }
    return QStringLiteral("was read");
}
} // namespace

bool MessagesPane::miniView() const {
    return c_.miniView != nullptr && c_.miniView->isChecked();
}

// The frame's caption names the list's own limit when the page is cut.
static_assert(MessageListPage::kMaxListed == uMessagesList::kListLimit);

void MessagesPane::ctlMessages_BuildList(QString& filter) {
    const bool keep = std::exchange(keepState_, false);
    if (!keep) {
        carried_.reset();
    }
    OrlixDatabase* db = database();
    if (db == nullptr || miniView()) {
        return;
    }
    const MousePointerGuard pointer(MousePointerGuard::Hourglass);
    const int minutes = c_.filter->currentIndex() >= 0 ? c_.filter->currentData().toInt() : 0;
    filter = MessageListFilterText(filter, minutes, QDateTime::currentDateTimeUtc());
    MessageListPage::RenderNotes notes;
    const std::optional<QString> html = MessageListPage::Render(*db, filter, &notes);
    if (!html) {
        carried_.reset();
        if (notes.templateState != MessageListPage::TemplateState::Read) {
            const QString templatePath = MessageListPage::TemplatePath(*db);
            showNotice(QStringLiteral("The message list cannot be shown: the template '") +
                           templatePath + QStringLiteral("' is missing, empty or cannot be read."),
                       QStringLiteral("The message list template '") + templatePath +
                           QStringLiteral("' ") + templateCause(notes.templateState));
        }
        return;
    }
    const QString path = RenderedPagePath();
    if (!MessageListPage::Write(path, *html)) {
        const QString folder = QFileInfo(path).absolutePath();
        showNotice(QStringLiteral("The message list cannot be shown: its page cannot be written "
                                  "in the folder '") +
                       folder + QStringLiteral("'."),
                   QStringLiteral("The message list could not be written to '") + path +
                       QLatin1Char('\''));
        carried_.reset();
        return;
    }
    hideNotice();
    c_.list->SetListCut(notes.cut);
    c_.browser->AllowFolder(QFileInfo(path).absolutePath());
    restoring_ = false;
    ++pageGeneration_;
    loading_ = c_.browser->Navigate(path);
    if (!loading_) {
        carried_.reset();
    }
    holdUpdates();
}

void MessagesPane::ShowPageView(bool shown) {
    pageView_ = shown;
    c_.browser->setVisible(shown && !noticeShown_);
    if (c_.notice != nullptr) {
        c_.notice->setVisible(shown && noticeShown_);
    }
}

void MessagesPane::showNotice(const QString& text, const QString& logLine) {
    if (logLine != causeLogged_) {
        causeLogged_ = logLine;
        DebugLog(logLine, 5);
    }
    if (c_.notice != nullptr) {
        c_.notice->setText(text);
    }
    noticeShown_ = true;
    ShowPageView(pageView_);
}

void MessagesPane::hideNotice() {
    causeLogged_.clear();
    if (noticeShown_) {
        noticeShown_ = false;
        ShowPageView(pageView_);
    }
}

void MessagesPane::holdUpdates() {
    // A change arriving while a page loads or the ticks are read makes one rebuild after.
    c_.list->SetUpdatesHeld(loading_ || readPending_);
}

void MessagesPane::pageLoaded(bool ok) {
    if (!loading_ || restoring_) {
        return; // a refused navigation reports on the page that stays
    }
    // The blank page of a settings load or a logout ends loading too: it is not the list
    // this pane asked for, which is still on its way.
    const WebBrowser* shownBy = c_.browser->Browser();
    if (shownBy != nullptr && !isRenderedPage(shownBy->CurrentUrl())) {
        return;
    }
    loadedHidden_ = !c_.browser->isVisible();
    const std::optional<Carried> carried = std::exchange(carried_, std::nullopt);
    // Until the ticks and the position are back the page counts as loading: a rebuild read
    // before then would carry a page without them.
    const auto shown = [this, generation = pageGeneration_] {
        if (generation != pageGeneration_) {
            return; // a newer page is on its way
        }
        loading_ = false;
        restoring_ = false;
        holdUpdates();
        Q_EMIT ListShown();
    };
    if (!ok || !carried) {
        shown();
        return;
    }
    restoring_ = true;
    const quint64 epoch = selectionEpoch_;
    c_.browser->ReadInputs(this, [this, carried, epoch, shown](const QList<DocumentInput>& in) {
        QStringList names;
        if (epoch == selectionEpoch_) {
            for (const DocumentInput& input : in) {
                const std::optional<qint32> reference = TickBoxReference(input.name);
                if (reference && carried->references.contains(*reference)) {
                    names << input.name;
                }
            }
        }
        c_.browser->SetInputsChecked(names, true);
        c_.browser->SetScrollPosition(carried->scroll);
        // The answer comes after both changes have run: the page shows them by then.
        c_.browser->ReadScrollPosition(this, [shown](QPoint) { shown(); });
    });
}

bool MessagesPane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == c_.browser && event->type() == QEvent::Show && loadedHidden_) {
        loadedHidden_ = false;
        MessagesChanged();
    }
    return QObject::eventFilter(watched, event);
}

void MessagesPane::MessagesChanged() {
    c_.list->UpdateSoon();
}

void MessagesPane::rebuildKeepingState() {
    if (miniView()) {
        c_.list->Refresh();
        return;
    }
    if (loading_ || readPending_) {
        holdUpdates();
        c_.list->UpdateSoon();
        return;
    }
    const quint64 epoch = selectionEpoch_;
    readPending_ = true;
    holdUpdates();
    c_.browser->ReadInputs(this, [this, epoch](const QList<DocumentInput>& inputs) {
        const QList<qint32> ticked = TickedMessageReferences(tickBoxesOf(inputs));
        c_.browser->ReadScrollPosition(this, [this, epoch, ticked](QPoint scroll) {
            readPending_ = false;
            Carried carried;
            carried.references = epoch == selectionEpoch_ ? ticked : QList<qint32>();
            carried.scroll = scroll;
            carried_ = carried;
            keepState_ = true;
            guarded("rebuild", [this] { c_.list->Refresh(); });
            keepState_ = false;
            holdUpdates();
            if (!loading_) {
                carried_.reset();
                Q_EMIT ListShown();
            }
        });
    });
}

void MessagesPane::GetSelectedMessageIds(std::function<void(const QList<qint32>&)> done) {
    c_.browser->ReadInputs(this, [done = std::move(done)](const QList<DocumentInput>& inputs) {
        done(TickedMessageReferences(tickBoxesOf(inputs)));
    });
}

void MessagesPane::ClearMessageSelection() {
    ++selectionEpoch_;
    carried_.reset();
    c_.browser->UncheckInputsContaining(kTickBoxWord.toString());
}

void MessagesPane::withTicks(const QString& what,
                             std::function<void(const QList<qint32>&)> action) {
    if (readPending_) {
        DebugLog(QStringLiteral("The messages pane ignored '") + what +
                     QStringLiteral("' while it was reading the ticks"),
                 7);
        return;
    }
    readPending_ = true;
    holdUpdates();
    GetSelectedMessageIds([this, what, action = std::move(action)](const QList<qint32>& ticked) {
        readPending_ = false;
        guarded("action", [&] { action(ticked); });
        holdUpdates();
        Q_EMIT ActionFinished(what);
    });
}

qint32 MessagesPane::ActOnSelectedMessages(qint32 mode, const QList<qint32>& references) {
    OrlixDatabase* db = database();
    if (db == nullptr) {
        return 0;
    }
    PaneBatchTarget target(*db, c_.list->CurrentFolder(), c_.owner);
    return ::ActOnSelectedMessages(mode, references, target);
}

void MessagesPane::cmdMessagesOpen_Click() {
    withTicks(QStringLiteral("open"), [this](const QList<qint32>& ticked) {
        if (ticked.isEmpty()) {
            exclaim(kSelectOneToOpen.toString(), c_.owner);
            return;
        }
        OrlixDatabase* db = database();
        for (const qint32 reference : ticked) {
            if (db == nullptr) {
                break;
            }
            const std::shared_ptr<OrlixMessage> message = db->GetMessage(reference);
            if (!message) {
                continue;
            }
            if (!OpenMessage(message, 0)) {
                break;
            }
            db = database();
        }
        ClearMessageSelection();
    });
}

void MessagesPane::cmdMessagesReply_Click() {
    reply(HoverCommand::Reply, QStringLiteral("reply"));
}

void MessagesPane::cmdMessagesReplyAll_Click() {
    reply(HoverCommand::ReplyAll, QStringLiteral("replyall"));
}

void MessagesPane::cmdMessagesForward_Click() {
    reply(HoverCommand::Forward, QStringLiteral("forward"));
}

void MessagesPane::reply(HoverCommand command, const QString& what) {
    withTicks(what, [this, command](const QList<qint32>& ticked) {
        if (const std::optional<QString> refusal = ReplyRefusal(command, ticked.size())) {
            exclaim(*refusal, c_.owner);
            return;
        }
        OrlixDatabase* db = database();
        const std::shared_ptr<OrlixMessage> old = db ? db->GetMessage(ticked.front()) : nullptr;
        if (!old) {
            return;
        }
        const emailrules::Answer answer = command == HoverCommand::Reply ? emailrules::Answer::Reply
                                          : command == HoverCommand::ReplyAll
                                              ? emailrules::Answer::ReplyAll
                                              : emailrules::Answer::Forward;
        std::shared_ptr<OrlixMessage> made =
            emailrules::MakeAnswer(*old, answer, frmMessage::OwnAddresses());
        NewMessage(made, made->Kind());
        ClearMessageSelection();
    });
}

void MessagesPane::toolbarMessages_ButtonClick(const QString& key) {
    const MessageToolbarAction action = MessageToolbarActionFor(key);
    if (action.newMessageKind != 0) {
        std::shared_ptr<OrlixMessage> none;
        NewMessage(none, action.newMessageKind);
        Q_EMIT ActionFinished(key);
        return;
    }
    withTicks(key, [this, action](const QList<qint32>& ticked) {
        if (ticked.isEmpty()) {
            exclaim(kSelectOneToOpen.toString(), c_.owner);
            return;
        }
        if (action.batchMode) {
            ActOnSelectedMessages(*action.batchMode, ticked);
        }
        ClearMessageSelection();
    });
}

void MessagesPane::ctlMessageBrowser_BeforeNavigate(const QString& url, bool* cancel) {
    *cancel = true;
    if (const std::optional<QString> command = OrlixCommandOf(url)) {
        runCommand(*command, url.left(60));
        return;
    }
    const QUrl target(url);
    const QString scheme = target.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
        scheme == QLatin1String("mailto")) {
        OpenWithDesktop(target);
        return;
    }
    const WebBrowser* browser = c_.browser->Browser();
    if (browser != nullptr &&
        DocumentNavigationPolicy::SameDocument(target, browser->CurrentUrl())) {
        *cancel = false; // a jump inside the list
        return;
    }
    DebugLog(QStringLiteral("The message list refused a link to '") + url.left(200) +
                 QLatin1Char('\''),
             3);
}

void MessagesPane::runCommand(const QString& command, const QString& what) {
    const MessageListCommand parsed = ParseMessageListCommand(command);
    const auto batch = [this, what](qint32 mode) {
        withTicks(what, [this, mode](const QList<qint32>& ticked) {
            ActOnSelectedMessages(mode, ticked);
        });
    };
    OrlixDatabase* db = database();
    switch (parsed.word) {
    case MessageListWord::OpenMessage:
        if (db != nullptr) {
            if (const auto message = db->GetMessage(parsed.reference)) {
                OpenMessage(message, 0);
            }
        }
        break;
    case MessageListWord::CopyMessages:
        batch(kBatchCopy);
        return;
    case MessageListWord::MoveMessages:
        batch(kBatchMove);
        return;
    case MessageListWord::DeleteMessages:
        batch(kBatchDelete);
        return;
    case MessageListWord::PrintMessages:
        batch(kBatchPrint);
        return;
    case MessageListWord::CopyMessage:
    case MessageListWord::MoveMessage:
        fileOne(parsed.reference, parsed.word == MessageListWord::MoveMessage);
        break;
    case MessageListWord::DeleteMessage:
        if (db != nullptr) {
            const MousePointerGuard pointer(MousePointerGuard::Hourglass);
            bool ok = false;
            db->DeleteMessage(parsed.reference, false, ok);
        }
        break;
    case MessageListWord::PrintMessage:
        if (db != nullptr) {
            if (const auto message = db->GetMessage(parsed.reference)) {
                const MousePointerGuard pointer(MousePointerGuard::Hourglass);
                PrintMessageFromTemplate(message.get(), c_.owner);
            }
        }
        break;
    case MessageListWord::None:
        DebugLog(
            QStringLiteral("The message list ignored the command '") + what + QLatin1Char('\''), 5);
        break;
    }
    Q_EMIT ActionFinished(what);
}

void MessagesPane::fileOne(qint32 reference, bool move) {
    OrlixDatabase* db = database();
    if (reference <= 0 || db == nullptr) {
        return;
    }
    const std::shared_ptr<OrlixMessage> message = db->GetMessage(reference);
    if (!message) {
        return;
    }
    const qint16 folder = frmChooseCategoryTree::ChooseCategory(
        db->CategoryTree().get(), false, static_cast<qint16>(message->Folder()),
        move ? QStringLiteral("Move message to") : QStringLiteral("Copy message to"), c_.owner);
    db = database();
    if (folder < 1 || db == nullptr) {
        return;
    }
    const MousePointerGuard pointer(MousePointerGuard::Hourglass);
    bool ok = false;
    if (move) {
        db->MoveMessage(reference, folder, ok);
    } else {
        db->CopyMessage(reference, folder, ok);
    }
}
