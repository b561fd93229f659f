#include "mainwindowfixture.h"

#include "core/dialogs/frmchoosecategorytree.h"
#include "core/dialogs/frmgoodinputbox.h"
#include "core/printing/frmhtmlprintpreview.h"
#include "core/windows/editwindows.h"
#include "mainwindow/messagetickboxes.h"
#include "mainwindow/panes/messagespane.h"
#include "platform/messagesdb/controls/umessagebasic.h"
#include "platform/messagesdb/controls/umessageslist.h"
#include "platform/messagesdb/messagemime.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixmessagelist.h"
#include "platform/system/folders.h"
#include "platform/ui/forms.h"
#include "platform/web/documentwalk.h"
#include "platform/web/uwebbrowser.h"
#include "platform/web/webbrowser.h"
#include "support/toolrun.h"
#include "support/waitfor.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHostAddress>
#include <QScreen>
#include <QTcpServer>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>

#include <optional>

namespace {

// The e-mail and SMS windows as the openers see them: what they were given is kept.
class TestMessageWindow : public QWidget, public MessageWindow {
public:
    std::shared_ptr<OrlixMessage> Message() const override { return message; }
    void SetMessage(const std::shared_ptr<OrlixMessage>& m) override { message = m; }
    void SetEditable(bool e) override { editable = e; }
    std::shared_ptr<OrlixMessage> message;
    bool editable = false;
};

QVariant runInPage(QWebEnginePage* page, const QString& script) {
    std::optional<QVariant> answer;
    page->runJavaScript(script, QWebEngineScript::ApplicationWorld,
                        [&](const QVariant& v) { answer = v; });
    EXPECT_TRUE(WaitFor([&] { return answer.has_value(); }));
    return answer.value_or(QVariant());
}

class WebEngineMessagesPane : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        ASSERT_TRUE(startLoggedIn(QStringLiteral("/DEBUG=NORMAL")));
        Program::Instance().Windows().Register(WindowKind::Email,
                                               [](QWidget*) { return new TestMessageWindow; });
        Program::Instance().Windows().Register(WindowKind::Sms,
                                               [](QWidget*) { return new TestMessageWindow; });
        window->resize(1000, 700);
        window->show();
        window->optMessages_Click();
        ASSERT_NE(db(), nullptr);
    }
    void TearDown() override {
        for (QWidget* w : Forms::All()) {
            if (w != window.get()) {
                delete w;
            }
        }
        MainWindowFixture::TearDown();
    }

    static OrlixDatabase* db() { return Program::Instance().Database(); }
    MessagesPane* pane() const { return window->messagesPane; }
    WebBrowser* browser() const { return window->ctlMessageBrowser->Browser(); }
    QWebEnginePage* page() const { return browser()->View()->page(); }

    qint32 store(const QString& subject, qint64 secondsOld, qint32 kind = OrlixMessage::KindEmail,
                 const QString& body = QStringLiteral("Please play my song.")) {
        auto m = std::make_shared<OrlixMessage>();
        m->SetMessageBytes(BuildTextMessage(QStringLiteral("Ann Listener <ann@example.org>"),
                                            QStringLiteral("studio@station.example"), subject, body,
                                            QDateTime()));
        m->SetKind(kind);
        m->SetFolder(OrlixDatabase::kInboxFolder);
        m->SetInheritedValue(77);
        m->SetReceivedDate(QDateTime::currentDateTimeUtc().addSecs(-secondsOld));
        bool ok = false;
        db()->StoreMessage(*m, ok);
        EXPECT_TRUE(ok);
        return m->Reference();
    }

    // Picks a time window as the user does and waits for the list it builds.
    void showWindow(int minutes) {
        const int index = window->comboMessageFilter->findData(minutes);
        ASSERT_GE(index, 0);
        window->comboMessageFilter->setCurrentIndex(index);
        bool shown = false;
        const auto c = QObject::connect(pane(), &MessagesPane::ListShown, [&] { shown = true; });
        window->comboMessageFilter_Click();
        EXPECT_TRUE(WaitFor([&] { return shown; }));
        QObject::disconnect(c);
        ASSERT_NE(browser(), nullptr);
        waitQuiet();
    }
    // Lets a rebuild that changes queued run to its end.
    void waitQuiet() {
        bool shown = false;
        const auto c = QObject::connect(pane(), &MessagesPane::ListShown, [&] { shown = true; });
        WaitFor([&] { return shown; }, 300);
        QObject::disconnect(c);
        if (shown) {
            waitQuiet();
        }
    }

    QList<DocumentInput> inputs() {
        std::optional<QList<DocumentInput>> got;
        QObject scope; // a late answer is dropped with it
        window->ctlMessageBrowser->ReadInputs(&scope,
                                              [&](const QList<DocumentInput>& in) { got = in; });
        EXPECT_TRUE(WaitFor([&] { return got.has_value(); }));
        return got.value_or(QList<DocumentInput>());
    }
    QList<qint32> ticked() {
        std::optional<QList<qint32>> got;
        pane()->GetSelectedMessageIds([&](const QList<qint32>& t) { got = t; });
        EXPECT_TRUE(WaitFor([&] { return got.has_value(); }));
        return got.value_or(QList<qint32>());
    }
    static QString boxName(qint32 reference) {
        return QStringLiteral("MessageSelected(%1)").arg(reference);
    }
    QList<qint32> listed() {
        QList<qint32> out;
        for (const DocumentInput& in : inputs()) {
            out << TickBoxReference(in.name).value_or(-1);
        }
        return out;
    }
    void tick(const QList<qint32>& references) {
        QStringList names;
        for (const qint32 r : references) {
            names << boxName(r);
        }
        window->ctlMessageBrowser->SetInputsChecked(names, true);
        EXPECT_TRUE(WaitFor([&] { return ticked().size() == references.size(); }));
    }

    // Runs an action and waits for its end.
    template <typename F> void act(const QString& what, F&& start) {
        bool done = false;
        const auto c = QObject::connect(pane(), &MessagesPane::ActionFinished,
                                        [&](const QString& w) { done = done || w == what; });
        start();
        EXPECT_TRUE(WaitFor([&] { return done; })) << what.toStdString();
        QObject::disconnect(c);
    }
    void press(const QString& key) {
        act(key, [&] { window->toolbarMessagesButton(key)->trigger(); });
    }

    // Clicks the first link whose href contains part, as the user does.
    void clickLink(const QString& part) {
        const QVariantList at =
            runInPage(page(), QStringLiteral("(function(p){var l=document.querySelectorAll('a');"
                                             "for(var i=0;i<l.length;i++){if(l[i].getAttribute("
                                             "'href').indexOf(p)>=0){l[i].scrollIntoView();"
                                             "var r=l[i].getBoundingClientRect();"
                                             "return[r.left+r.width/2,r.top+r.height/2];}}"
                                             "return[];})('") +
                                  part + QStringLiteral("')"))
                .toList();
        ASSERT_EQ(at.size(), 2) << part.toStdString();
        QWidget* target = browser()->View()->focusProxy();
        ASSERT_NE(target, nullptr);
        const QPoint point(qRound(at[0].toDouble()), qRound(at[1].toDouble()));
        // Apart in time, as a user's clicks are: two quick ones would make a double click.
        QTest::mouseClick(target, Qt::LeftButton, {}, point, 600);
    }

    QList<TestMessageWindow*> messageWindows() const {
        QList<TestMessageWindow*> out;
        for (QWidget* w : Forms::All()) {
            if (auto* m = dynamic_cast<TestMessageWindow*>(w)) {
                out << m;
            }
        }
        return out;
    }

    // Answers the folder chooser with folder, or cancels it with 0.
    static void chooseFolder(qint32 folder) {
        TestDialogs().queue([folder](QDialog& d) {
            auto& f = dynamic_cast<frmChooseCategoryTree&>(d);
            if (folder == 0) {
                f.cmdCancel->click();
                return;
            }
            for (QTreeWidgetItemIterator it(f.treeCategories); *it != nullptr; ++it) {
                if (frmChooseCategoryTree::FolderOfKey((*it)->data(0, Qt::UserRole).toString()) ==
                    folder) {
                    f.treeCategories->setCurrentItem(*it);
                    (*it)->setSelected(true);
                }
            }
            f.cmdOK->click();
        });
    }

    QStringList boxes() const {
        QStringList out;
        for (const auto& b : TestMessageBoxes().shown()) {
            out << b.text;
        }
        return out;
    }
};

TEST_F(WebEngineMessagesPane, EachTimeWindowListsWhatArrivedInItAndTheTagGuardHoldsClicks) {
    const qint32 three = store(QStringLiteral("Three hours old"), 3 * 3600);
    const qint32 five = store(QStringLiteral("Five hours old"), 5 * 3600);
    struct Case {
        int minutes;
        QList<qint32> listed;
    };
    for (const Case& c : {Case{240, {three}}, Case{720, {three, five}}, Case{1440, {three, five}},
                          Case{-1, {three, five}}}) {
        showWindow(c.minutes);
        EXPECT_EQ(listed(), c.listed) << c.minutes;
        EXPECT_EQ(userSetting(QStringLiteral("MessageListFilter")), QString::number(c.minutes));
    }
    // While the combo is being refilled a click neither saves nor rebuilds.
    window->comboMessageFilter->setProperty("Tag", QStringLiteral("1"));
    window->comboMessageFilter->setCurrentIndex(0);
    bool shown = false;
    QObject scope;
    QObject::connect(pane(), &MessagesPane::ListShown, &scope, [&] { shown = true; });
    window->comboMessageFilter_Click();
    EXPECT_FALSE(WaitFor([&] { return shown; }, 500));
    EXPECT_EQ(userSetting(QStringLiteral("MessageListFilter")), QStringLiteral("-1"));
}

TEST_F(WebEngineMessagesPane, TheToolbarIsTheTablesButtonsInOrder) {
    QStringList keys;
    for (QAction* a : window->toolbarMessages->actions()) {
        keys << a->objectName();
    }
    EXPECT_EQ(keys, (QStringList{"initsep", "filter",    "sendsep",     "email",       "sms",
                                 "opensep", "open",      "replysep",    "reply",       "replyall",
                                 "forward", "savesep",   "save",        "printsep",    "print",
                                 "delete",  "foldersep", "copymessage", "movemessage", "editsep",
                                 "helpsep", "help"}));
    EXPECT_EQ(window->toolbarMessagesButton(QStringLiteral("movemessage"))->toolTip(),
              QStringLiteral("Move to Folder"));
    EXPECT_EQ(window->toolbarMessages->widgetForAction(
                  window->toolbarMessagesButton(QStringLiteral("filter"))),
              window->comboMessageFilter);
}

// At the main window's design size no button of the messages toolbar goes behind the
// extension button; with captions that do not fit, the pictures show alone.
TEST_F(WebEngineMessagesPane, EveryToolbarButtonShowsAtTheDesignSize) {
    for (const QSize size : {QSize(15360 / 15, 10800 / 15), QSize(1600, 1000)}) {
        SCOPED_TRACE(size.width());
        window->resize(size);
        QToolBar* bar = window->toolbarMessages;
        EXPECT_TRUE(WaitFor(
            [&] {
                for (QAction* action : bar->actions()) {
                    QWidget* w = bar->widgetForAction(action);
                    if (action->isVisible() && !action->isSeparator() &&
                        (w == nullptr || !w->isVisible())) {
                        return false;
                    }
                }
                return true;
            },
            2000))
            << "a button went behind the extension button";
    }
}

// In a narrow main window the starting list still gives each message's subject room to be
// read: the row wraps before the subject column shrinks below 12em.
TEST_F(WebEngineMessagesPane, TheStartingListKeepsTheSubjectReadableInANarrowWindow) {
    store(QStringLiteral("Hi"), 60);
    store(QStringLiteral("Please play the long version of the song my grandmother loved"), 120);
    store(QStringLiteral("Averyveryverylongsubjectwithnoplacetobreakitatallanywhere"), 180);
    const char* const measure = R"(
        (() => {
            const cells = Array.from(document.querySelectorAll('.subject'));
            if (cells.length !== 3) return -1;
            let narrowest = Infinity;
            for (const c of cells) {
                const em = parseFloat(getComputedStyle(c).fontSize);
                narrowest = Math.min(narrowest, c.getBoundingClientRect().width / em);
            }
            return narrowest;
        })())";
    for (const int width : {800, 15360 / 15, 1600}) {
        SCOPED_TRACE(width);
        window->resize(width, 700);
        showWindow(240);
        double ems = -1;
        WaitFor(
            [&] {
                ems = runInPage(page(), QLatin1String(measure)).toDouble();
                return ems >= 12;
            },
            2000);
        EXPECT_GE(ems, 12.0) << "the narrowest subject cell is " << ems << "em wide";
        EXPECT_LE(page()->contentsSize().width(), browser()->View()->width() + 1)
            << "the page scrolls sideways";
    }
}

TEST_F(WebEngineMessagesPane, KeysThatNeedATickSayOpenWhenNothingIsTicked) {
    store(QStringLiteral("One"), 60);
    showWindow(240);
    for (const char* key : {"delete", "print", "copymessage", "movemessage", "save", "help"}) {
        TestMessageBoxes().clear();
        press(QLatin1String(key));
        EXPECT_EQ(boxes(),
                  QStringList{QStringLiteral("You must select at least one message to open")})
            << key;
        EXPECT_EQ(TestMessageBoxes().shown().front().icon, MsgIcon::Exclamation);
    }
    TestMessageBoxes().clear();
    act(QStringLiteral("open"),
        [&] { QTest::mouseClick(window->cmdMessagesOpen, Qt::LeftButton); });
    EXPECT_EQ(boxes(), QStringList{QStringLiteral("You must select at least one message to open")});
    EXPECT_EQ(db()->GetMessages(QString())->Count(), 1);
}

TEST_F(WebEngineMessagesPane, DeleteTakesTheTickedMessagesWithoutAQuestion) {
    const qint32 a = store(QStringLiteral("A"), 60);
    const qint32 b = store(QStringLiteral("B"), 120);
    const qint32 c = store(QStringLiteral("C"), 180);
    showWindow(240);
    tick({a});
    press(QStringLiteral("delete"));
    EXPECT_EQ(db()->GetMessage(a), nullptr);
    waitQuiet();
    tick({b, c});
    press(QStringLiteral("delete"));
    EXPECT_EQ(db()->GetMessage(b), nullptr);
    EXPECT_EQ(db()->GetMessage(c), nullptr);
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    waitQuiet();
    EXPECT_TRUE(inputs().isEmpty());
}

TEST_F(WebEngineMessagesPane, SaveAndHelpOnlyClearTheTicks) {
    const qint32 a = store(QStringLiteral("A"), 60);
    const qint32 b = store(QStringLiteral("B"), 120);
    showWindow(240);
    for (const char* key : {"save", "help"}) {
        tick({a, b});
        press(QLatin1String(key));
        EXPECT_TRUE(WaitFor([&] { return ticked().isEmpty(); })) << key;
    }
    EXPECT_EQ(db()->GetMessages(QString())->Count(), 2);
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
}

TEST_F(WebEngineMessagesPane, ReplyReplyAllAndForwardTakeExactlyOneTick) {
    const qint32 a = store(QStringLiteral("Song request"), 60, OrlixMessage::KindEmail);
    const qint32 b = store(QStringLiteral("Other"), 120);
    showWindow(240);
    struct Case {
        QToolButton* button;
        const char* key;
        QString none;
        QString two;
    };
    const QString replyNone = QStringLiteral("You must select a message to 'Reply' to");
    const QString replyTwo = QStringLiteral("You can only 'Reply' to one message at a time");
    for (const Case& c : {Case{window->cmdMessagesReply, "reply", replyNone, replyTwo},
                          Case{window->cmdMessagesReplyAll, "replyall", replyNone, replyTwo},
                          Case{window->cmdMessagesForward, "forward",
                               QStringLiteral("You must select a message to 'Forward'"),
                               QStringLiteral("You can only 'Forward' one message at a time")}}) {
        TestMessageBoxes().clear();
        act(QLatin1String(c.key), [&] { QTest::mouseClick(c.button, Qt::LeftButton); });
        tick({a, b});
        act(QLatin1String(c.key), [&] { QTest::mouseClick(c.button, Qt::LeftButton); });
        EXPECT_EQ(boxes(), (QStringList{c.none, c.two})) << c.key;
        EXPECT_EQ(ticked(), (QList<qint32>{a, b})) << c.key; // both ticks stay
        window->ctlMessageBrowser->SetInputsChecked({boxName(b)}, false);
        ASSERT_TRUE(WaitFor([&] { return ticked() == QList<qint32>{a}; }));
        act(QLatin1String(c.key), [&] { QTest::mouseClick(c.button, Qt::LeftButton); });
        ASSERT_EQ(messageWindows().size(), 1) << c.key;
        const std::shared_ptr<OrlixMessage> made = messageWindows().front()->message;
        ASSERT_TRUE(made);
        EXPECT_EQ(made->Reference(), 0);
        EXPECT_EQ(made->Folder(), 6);
        EXPECT_EQ(made->Flags(), 0);
        EXPECT_EQ(made->Kind(), OrlixMessage::KindEmail);
        EXPECT_EQ(made->InheritedValue(), 77);
        EXPECT_TRUE(made->Edited());
        EXPECT_FALSE(made->ReceivedDate().isValid());
        EXPECT_TRUE(made->Subject().startsWith(QLatin1String(c.key) == QLatin1String("forward")
                                                   ? QStringLiteral("FW")
                                                   : QStringLiteral("RE: ")))
            << made->Subject().toStdString();
        EXPECT_TRUE(WaitFor([&] { return ticked().isEmpty(); }));
        delete messageWindows().front();
    }
}

TEST_F(WebEngineMessagesPane, OpeningTwelveStopsAtTheWindowLimitAndClearsTheTicks) {
    QList<qint32> all;
    for (int i = 0; i < 12; ++i) {
        all << store(QStringLiteral("Message %1").arg(i), 60 + i);
    }
    showWindow(240);
    tick(all);
    act(QStringLiteral("open"),
        [&] { QTest::mouseClick(window->cmdMessagesOpen, Qt::LeftButton); });
    EXPECT_EQ(messageWindows().size(), 10);
    EXPECT_EQ(boxes(), QStringList{QStringLiteral(
                           "You cannot have more than 10 Message windows open simultaneously")});
    EXPECT_TRUE(WaitFor([&] { return ticked().isEmpty(); }));
}

TEST_F(WebEngineMessagesPane, MoveAndCopyGoThroughTheFolderChooser) {
    const qint32 a = store(QStringLiteral("A"), 60);
    const qint32 b = store(QStringLiteral("B"), 120);
    showWindow(240);
    const qint32 sent = OrlixDatabase::kSentFolder;

    // Cancelled: nothing changes and nothing is announced.
    int announced = 0;
    QObject scope;
    QObject::connect(db(), &OrlixDatabase::MessageChanged, &scope, [&] { ++announced; });
    tick({a, b});
    chooseFolder(0);
    press(QStringLiteral("copymessage"));
    EXPECT_EQ(announced, 0);
    EXPECT_EQ(db()->GetMessages(QString())->Count(), 2);

    tick({a, b});
    chooseFolder(sent);
    press(QStringLiteral("copymessage"));
    EXPECT_EQ(db()->GetMessages(QStringLiteral("[Folder]=%1").arg(sent))->Count(), 2)
        << boxes().join(QLatin1Char('\n')).toStdString() << TestDialogs().shown().size();
    EXPECT_EQ(announced, 1);
    waitQuiet();

    tick({a});
    chooseFolder(sent);
    press(QStringLiteral("movemessage"));
    EXPECT_EQ(db()->GetMessage(a)->Folder(), sent);
    EXPECT_EQ(db()->GetMessage(b)->Folder(), OrlixDatabase::kInboxFolder);
    waitQuiet();
    EXPECT_EQ(listed(), QList<qint32>{b}); // the list shows the Inbox
}

TEST_F(WebEngineMessagesPane, ThePagesLinksOpenAndDeleteOneMessage) {
    const qint32 a = store(QStringLiteral("Open me"), 60);
    const qint32 b = store(QStringLiteral("Delete me"), 120);
    showWindow(240);
    const QString open = QStringLiteral("openmessage(%1)").arg(a);
    act(QStringLiteral("orlix://") + open, [&] { clickLink(open); });
    ASSERT_EQ(messageWindows().size(), 1);
    EXPECT_EQ(messageWindows().front()->message->Reference(), a);

    const QString remove = QStringLiteral("deletemessage(%1)").arg(b);
    act(QStringLiteral("orlix://") + remove, [&] { clickLink(remove); });
    EXPECT_EQ(db()->GetMessage(b), nullptr);
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    waitQuiet();
    EXPECT_EQ(browser()->CurrentUrl(), QUrl::fromLocalFile(MessagesPane::RenderedPagePath()));
}

TEST_F(WebEngineMessagesPane, WebLinksGoToTheDesktopAndOtherLinksAreRefused) {
    store(QStringLiteral("A"), 60);
    showWindow(240);
    // A station's own template may carry links of every kind.
    const QString path = MessagesPane::RenderedPagePath();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<html><body><a href='https://station.example/'>site</a><br>"
            "<a href='mailto:desk@station.example'>mail</a><br>"
            "<a href='ftp://files.example/x'>ftp</a><br>"
            "<a href='orlix://DeleteMessages'>all</a></body></html>");
    f.close();
    bool loaded = false;
    QObject scope;
    QObject::connect(browser(), &WebBrowser::LoadFinished, &scope, [&] { loaded = true; });
    ASSERT_TRUE(window->ctlMessageBrowser->Navigate(path));
    ASSERT_TRUE(WaitFor([&] { return loaded; }));
    waitQuiet();

    clickLink(QStringLiteral("https:"));
    EXPECT_TRUE(WaitFor([&] { return opened.size() == 1; }));
    clickLink(QStringLiteral("mailto"));
    EXPECT_TRUE(WaitFor([&] { return opened.size() == 2; }));
    EXPECT_EQ(opened, (QList<QUrl>{QUrl(QStringLiteral("https://station.example/")),
                                   QUrl(QStringLiteral("mailto:desk@station.example"))}));
    clickLink(QStringLiteral("ftp"));
    EXPECT_TRUE(WaitFor([&] {
        return logTexts().filter(QStringLiteral("refused a link to 'ftp:")).size() == 1;
    })) << logTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(browser()->CurrentUrl(), QUrl::fromLocalFile(path));
    // With nothing ticked, the plural command does nothing and says nothing.
    act(QStringLiteral("orlix://DeleteMessages"),
        [&] { clickLink(QStringLiteral("DeleteMessages")); });
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    EXPECT_EQ(opened.size(), 2);
}

TEST_F(WebEngineMessagesPane, TheMiniViewShowsTheDetailInsteadOfThePage) {
    store(QStringLiteral("A"), 60);
    showWindow(240);
    window->mnuViewMessageMiniList_Click();
    EXPECT_TRUE(window->mnuViewMessageMiniList->isChecked());
    EXPECT_FALSE(window->ctlMessageBrowser->isVisible());
    EXPECT_FALSE(window->toolbarMessages->isVisible());
    EXPECT_TRUE(window->ctlMessage->isVisible());
    EXPECT_TRUE(window->ctlMessages->DisplayMessageList());
    EXPECT_EQ(userSetting(QStringLiteral("ViewMiniMessageList")), QStringLiteral("1"));
    // The list of its own; picking its message shows it in the detail pane.
    QTreeWidget* list = window->ctlMessages->lstMessages();
    ASSERT_TRUE(list->isVisible());
    const QList<QTreeWidgetItem*> found = list->findItems(QStringLiteral("A"), Qt::MatchExactly, 1);
    ASSERT_EQ(found.size(), 1);
    list->setCurrentItem(found.front());
    ASSERT_NE(window->ctlMessage->Message(), nullptr);
    EXPECT_EQ(window->ctlMessage->Message()->Subject(), QStringLiteral("A"));
    // Back to the page: a new one is built.
    store(QStringLiteral("B"), 30);
    bool shown = false;
    QObject scope;
    QObject::connect(pane(), &MessagesPane::ListShown, &scope, [&] { shown = true; });
    window->mnuViewMessageMiniList_Click();
    EXPECT_TRUE(window->ctlMessageBrowser->isVisible());
    EXPECT_TRUE(WaitFor([&] { return shown && inputs().size() == 2; }));
}

TEST_F(WebEngineMessagesPane, AnotherComputersMessageShowsWithTicksAndPositionKept) {
    QList<qint32> refs;
    for (int i = 0; i < 60; ++i) {
        refs << store(QStringLiteral("Message %1").arg(i), 60 + i);
    }
    showWindow(240);
    const qint32 tickedRef = refs.at(40);
    tick({tickedRef});
    browser()->SetScrollPosition(QPoint(0, 400));
    std::optional<QPoint> before;
    ASSERT_TRUE(WaitFor([&] {
        std::optional<QPoint> at;
        QObject scope;
        browser()->ReadScrollPosition(&scope, [&](QPoint p) { at = p; });
        WaitFor([&] { return at.has_value(); });
        before = at;
        return at && at->y() > 0;
    }));

    // The delivering program stores one from another process.
    const ToolRun run = RunTool(QStringLiteral(ORLIX_MESSAGES_TOOL),
                                {QStringLiteral("import"), folder("db"),
                                 QStringLiteral(ORLIX_FIXTURES "/messages/listener-request.eml")});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    // The watch looks once a second: well within this, however busy the machine.
    ASSERT_TRUE(WaitFor([&] { return inputs().size() == 61; }, 10000));
    waitQuiet();
    EXPECT_EQ(ticked(), QList<qint32>{tickedRef});
    std::optional<QPoint> after;
    QObject scope;
    browser()->ReadScrollPosition(&scope, [&](QPoint p) { after = p; });
    ASSERT_TRUE(WaitFor([&] { return after.has_value(); }));
    EXPECT_EQ(*after, *before);
}

TEST_F(WebEngineMessagesPane, ListenerTextRunsNoScriptAndAddsNoTickOrLink) {
    store(QStringLiteral("<script>document.title='ran'</script>"
                         "\"><a href=\"orlix://deletemessages\">x</a>"
                         "<input name=\"MessageSelected99\" checked>"),
          60);
    store(QString(1024 * 1024, QLatin1Char('w')), 120);
    showWindow(240);
    EXPECT_EQ(inputs().size(), 2);
    for (const DocumentInput& in : inputs()) {
        EXPECT_FALSE(in.checked);
    }
    EXPECT_NE(runInPage(page(), QStringLiteral("document.title")).toString(),
              QStringLiteral("ran"));
    EXPECT_EQ(runInPage(page(), QStringLiteral("document.querySelectorAll('a').length")).toInt(),
              2 * 3); // open, print and delete of each
    EXPECT_EQ(
        runInPage(page(), QStringLiteral("document.querySelectorAll('script').length")).toInt(), 0);
}

TEST_F(WebEngineMessagesPane, HostileBodiesAndAStationTemplateReachNoListenerAndRunNothing) {
    QTcpServer listener;
    ASSERT_TRUE(listener.listen(QHostAddress::LocalHost));
    const QString remote = QStringLiteral("http://127.0.0.1:%1").arg(listener.serverPort());
    // A station's own template may name remote pictures and scripts: never fetched or run.
    QFile station(db()->TemplatesPath() + QStringLiteral("/Messages-List.htm"));
    ASSERT_TRUE(station.open(QIODevice::WriteOnly | QIODevice::Truncate));
    station.write((QStringLiteral("<html><head><script src='") + remote +
                   QStringLiteral("/s.js'></script></head><body><img src='") + remote +
                   QStringLiteral("/logo.png'><a id='js' href='javascript:document.title=\"ran\"'>"
                                  "js</a><table><OCP_MESSAGES_REPEAT><tr><td>"
                                  "<OCP_MESSAGE_SELECT></td><td><OCP_MESSAGE_SUBJECT></td><td>"
                                  "<OCP_MESSAGE_SUMMARY></td></tr></OCP_MESSAGES_REPEAT>"
                                  "</table></body></html>"))
                      .toUtf8());
    station.close();
    store(QStringLiteral("Body with a picture"), 60, OrlixMessage::KindEmail,
          QStringLiteral("<img src='") + remote +
              QStringLiteral("/x.png'><a href='javascript:alert(1)'>x</a>"));
    // Raw 8-bit and mis-declared charsets of the corpus, as the delivering program stores them.
    for (const char* name : {"raw-8bit-headers.eml", "missing-charset-windows-1252-bytes.eml",
                             "encoded-subject-koi8r.eml"}) {
        const ToolRun run =
            RunTool(QStringLiteral(ORLIX_MESSAGES_TOOL),
                    {QStringLiteral("import"), folder("db"),
                     QStringLiteral(ORLIX_FIXTURES "/mime/") + QLatin1String(name)});
        ASSERT_EQ(run.Code, 0) << name << run.Err.toStdString();
    }
    db()->CheckForChanges();
    showWindow(240);
    EXPECT_EQ(inputs().size(), 4);
    EXPECT_EQ(runInPage(page(), QStringLiteral("document.querySelectorAll('a').length")).toInt(),
              1); // the template's own
    clickLink(QStringLiteral("javascript"));
    EXPECT_TRUE(WaitFor([&] {
        return logTexts().filter(QStringLiteral("refused a link to 'javascript:")).size() == 1;
    }));
    EXPECT_NE(runInPage(page(), QStringLiteral("document.title")).toString(),
              QStringLiteral("ran"));
    EXPECT_FALSE(listener.hasPendingConnections());
    EXPECT_FALSE(listener.waitForNewConnection(0));
}

// With ORLIX_SCREENSHOTS set, the tab with sample messages is saved in both views.
TEST_F(WebEngineMessagesPane, TheMessagesTabDrawsInBothViews) {
    window->resize(1280, 800);
    store(QStringLiteral("Request for the breakfast show"), 600);
    store(QStringLiteral("Traffic: queue on the ring road"), 1800, OrlixMessage::KindSms);
    store(QStringLiteral("Competition answer: B"), 3600);
    showWindow(240);
    const QString shots = qEnvironmentVariable("ORLIX_SCREENSHOTS");
    for (const char* name : {"messages-list", "messages-mini"}) {
        const QImage image = window->grab().toImage();
        EXPECT_FALSE(image.isNull()) << name;
        if (!shots.isEmpty()) {
            EXPECT_TRUE(image.save(shots + QLatin1Char('/') + QLatin1String(name) +
                                   QStringLiteral(".png")));
        }
        if (QLatin1String(name) == QLatin1String("messages-list")) {
            window->mnuViewMessageMiniList_Click();
            EXPECT_TRUE(window->ctlMessage->isVisible());
        }
    }
}

TEST_F(WebEngineMessagesPane, AFolderPickedInTheTreeIsListedUntickedAndFollowsChanges) {
    const qint32 a = store(QStringLiteral("In the inbox"), 60);
    const qint32 b = store(QStringLiteral("Filed away"), 120);
    QTreeWidget* folders = window->ctlMessages->tvwFolders();
    const QList<QTreeWidgetItem*> found =
        folders->findItems(QStringLiteral("Archive"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    const qint32 archive = found.front()->data(0, Qt::UserRole).toString().mid(1).toInt();
    ASSERT_GT(archive, 0);
    bool ok = false;
    db()->MoveMessage(b, archive, ok);
    ASSERT_TRUE(ok);
    showWindow(240);
    EXPECT_EQ(listed(), QList<qint32>{a});
    tick({a});

    const auto pick = [&](QTreeWidgetItem* item) {
        bool shown = false;
        QObject scope;
        QObject::connect(pane(), &MessagesPane::ListShown, &scope, [&] { shown = true; });
        folders->setCurrentItem(item);
        EXPECT_TRUE(WaitFor([&] { return shown; }));
        waitQuiet();
    };
    pick(found.front());
    EXPECT_EQ(window->ctlMessages->CurrentFolder(), archive);
    EXPECT_EQ(listed(), QList<qint32>{b});

    // A change is shown in the folder picked, within the same time window.
    const qint32 c = store(QStringLiteral("Filed later"), 30);
    db()->MoveMessage(c, archive, ok);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(WaitFor([&] { return listed() == QList<qint32>{c, b}; }));

    // Back to the inbox: asked for by the user, so it starts unticked.
    pick(folders->findItems(QStringLiteral("Inbox"), Qt::MatchExactly | Qt::MatchRecursive)
             .value(0));
    EXPECT_EQ(listed(), QList<qint32>{a});
    EXPECT_TRUE(ticked().isEmpty());
}

TEST_F(WebEngineMessagesPane, APageBuiltOutOfSightIsBuiltAgainWhenTheTabShowsIt) {
    const qint32 a = store(QStringLiteral("A"), 60);
    showWindow(240);
    tick({a});
    window->optContacts_Click();
    ASSERT_FALSE(window->ctlMessageBrowser->isVisible());
    store(QStringLiteral("B"), 30); // rebuilt out of sight
    ASSERT_TRUE(WaitFor([&] { return inputs().size() == 2; }));
    waitQuiet();
    bool shown = false;
    QObject scope;
    QObject::connect(pane(), &MessagesPane::ListShown, &scope, [&] { shown = true; });
    window->optMessages_Click();
    EXPECT_TRUE(WaitFor([&] { return shown; }));
    waitQuiet();
    EXPECT_EQ(ticked(), QList<qint32>{a});
}

TEST_F(WebEngineMessagesPane, NewEmailAndNewSmsNeedNoTick) {
    showWindow(240);
    const std::pair<const char*, qint32> keys[] = {{"email", OrlixMessage::KindEmail},
                                                   {"sms", OrlixMessage::KindSms}};
    for (const auto& [key, kind] : keys) {
        press(QLatin1String(key));
        ASSERT_EQ(messageWindows().size(), 1) << key;
        const std::shared_ptr<OrlixMessage> made = messageWindows().front()->message;
        ASSERT_TRUE(made) << key;
        EXPECT_EQ(made->Reference(), 0) << key;
        EXPECT_EQ(made->Kind(), kind) << key;
        delete messageWindows().front();
    }
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
}

TEST_F(WebEngineMessagesPane, PrintShowsTheTickedMessagesInOnePreview) {
    const qint32 a = store(QStringLiteral("First to print"), 60);
    const qint32 b = store(QStringLiteral("Second to print"), 120);
    store(QStringLiteral("Not ticked"), 180);
    TestDialogs().answerEvery<frmGoodInputBox>([](frmGoodInputBox& box) { box.cmdOk()->click(); });
    showWindow(240);
    tick({a, b});
    press(QStringLiteral("print"));
    QList<frmHTMLPrintPreview*> previews;
    ASSERT_TRUE(WaitFor([&] {
        previews.clear();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* p = qobject_cast<frmHTMLPrintPreview*>(w); p != nullptr && p->isVisible()) {
                previews << p;
            }
        }
        return previews.size() == 1;
    }));
    // The filled template the preview shows.
    QFile printed(Folders::PrivateTemp() + QStringLiteral("/Print-Message.htm"));
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly)) << printed.fileName().toStdString();
    const QString text = QString::fromUtf8(printed.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral("First to print")));
    EXPECT_TRUE(text.contains(QStringLiteral("Second to print")));
    EXPECT_FALSE(text.contains(QStringLiteral("Not ticked")));
    EXPECT_TRUE(WaitFor([&] { return ticked().isEmpty(); }));
    // What the window system shows of the preview is the page (white paper, dark text), never
    // a black window.
    frmHTMLPrintPreview* preview = previews.front();
    ASSERT_TRUE(WaitFor([&] {
        return preview->WebBrowser1->CurrentUrl().isLocalFile() &&
               !preview->WebBrowser1->IsLoading();
    }));
    const auto painted = [&] {
        const QImage shot = preview->screen()->grabWindow(preview->winId()).toImage();
        const QRect page = preview->WebBrowser1->geometry();
        int light = 0;
        int dark = 0;
        for (int y = page.top() + 4; y < page.bottom() - 4; y += 7) {
            for (int x = page.left() + 4; x < page.right() - 4; x += 7) {
                if (!shot.valid(x, y)) {
                    continue;
                }
                const int level = qGray(shot.pixel(x, y));
                light += level > 200 ? 1 : 0;
                dark += level < 60 ? 1 : 0;
            }
        }
        return light > 10 * dark && dark > 0;
    };
    EXPECT_TRUE(WaitFor(painted, 10000));
    delete preview;
}

} // namespace
