// The keyboard panel of the main window: the players, log and carts the parser shows, the
// commands their buttons send, the View items and the cover over the panel.

#include "mainwindowfixture.h"
#include "support/scriptedwindow.h"

#include "platform/ui/uhtmlscroller.h"
#include "platform/ui/upanel3.h"
#include "support/waitfor.h"

#include <QAction>
#include <QApplication>
#include <QHostAddress>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <algorithm>
#include <functional>

namespace {
// The playout side for the window: it takes every connection, greets each one when told to
// and keeps the lines it receives.
class LinePeer {
public:
    LinePeer() {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* c = server_.nextPendingConnection()) {
                connections_ << c;
                QObject::connect(c, &QTcpSocket::readyRead, [this, c] {
                    while (c->canReadLine()) {
                        received_ << QString::fromLatin1(c->readLine()).trimmed();
                    }
                });
            }
        });
    }
    quint16 Port() const { return server_.serverPort(); }
    void Say(const QByteArray& bytes) {
        for (QTcpSocket* c : connections_) {
            c->write(bytes);
        }
    }
    QStringList TakeReceived() { return std::exchange(received_, {}); }
    const QStringList& Received() const { return received_; }

private:
    QTcpServer server_;
    QList<QTcpSocket*> connections_;
    QStringList received_;
};

class MainWindowPanel : public MainWindowFixture {
protected:
    // Logged in with the playout computer set; the keyboard item and both log groups ticked.
    void startWithPanel() {
        playoutPort = peer.Port();
        seedProfile(true);
        addUser(QStringLiteral("admin"));
        ASSERT_TRUE(
            start(QStringLiteral("/NOPREVCHECK /DEBUG=NORMAL /Profile=Studio /User=admin")));
        frmMain& w = *window;
        for (QAction* a : {w.mnuViewVorelaKeyboard, w.mnuViewLogGo, w.mnuViewLogNavigation}) {
            if (!a->isChecked()) {
                a->trigger();
            }
        }
        w.SetVorelaPanelHidden(false);
        w.resize(1280, 800);
        w.show();
    }
    // Connected and the playout system of that version accepted.
    void handshake(const char* version = "3.5.0") {
        PlayoutLink& link = *window->Link();
        ASSERT_TRUE(WaitFor([&] { return link.State() != PlayoutLink::LinkState::Connecting; }));
        peer.Say(QByteArray("+CONNECTED AppName=VORELA3 Version=") + version + "\r\n");
        ASSERT_TRUE(WaitFor([&] { return link.State() == PlayoutLink::LinkState::Up; }));
        ASSERT_TRUE(WaitFor([&] { return peer.Received().contains("REQUEST LOGITEMS 2"); }));
        peer.TakeReceived();
    }
    QString sentAfter(const std::function<void()>& press) {
        press();
        if (!WaitFor([&] { return !peer.Received().isEmpty(); }, 5000)) {
            return QStringLiteral("<nothing>");
        }
        const QStringList lines = peer.TakeReceived();
        return lines.join(QLatin1Char('|'));
    }
    static void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }

    LinePeer peer;
};

// Everything a status line may change in one column, to show that a line changed nothing.
QString columnLook(const frmMain& w, qsizetype n) {
    return QStringLiteral("%1 %2/%3 %4/%5 %6/%7 tag %8 text %9 shown %10")
        .arg(w.playoutPanel->pnlPlayerCaption[n]->Caption())
        .arg(w.playoutPanel->cmdPlayerClose[n]->isEnabled())
        .arg(w.playoutPanel->cmdPlayerClose[n]->PictureKey())
        .arg(w.playoutPanel->cmdPlayerCue[n]->isEnabled())
        .arg(w.playoutPanel->cmdPlayerCue[n]->PictureKey())
        .arg(w.playoutPanel->cmdPlayerPlay[n]->isEnabled())
        .arg(w.playoutPanel->cmdPlayerPlay[n]->PictureKey())
        .arg(w.playoutPanel->cmdPlayerPlay[n]->Tag())
        .arg(w.playoutPanel->uPlayerScroller[n]->Text())
        .arg(!w.playoutPanel->pnlPlayerCaption[n]->isHidden());
}

QStringList everyLook(const frmMain& w) {
    QStringList looks;
    for (qsizetype n = 1; n < w.playoutPanel->pnlPlayerCaption.size(); ++n) {
        looks << columnLook(w, n);
    }
    for (qsizetype n = 0; n < w.playoutPanel->cmdInstantCart.size(); ++n) {
        looks << QStringLiteral("cart %1 %2")
                     .arg(n)
                     .arg(w.playoutPanel->cmdInstantCart[n]->isEnabled());
    }
    return looks;
}

TEST_F(MainWindowPanel, ThePlayerCountIsClampedAndHiddenColumnsKeepTheirLook) {
    ASSERT_NO_FATAL_FAILURE(startWithPanel());
    frmMain& w = *window;
    EXPECT_EQ(w.playoutPanel->NumberPlayers(), 4) << "four after start-up";
    const QString designLook =
        QStringLiteral("Player 1 0/ejectdis 0/cuedis 0/playdis tag 0 text  shown %1");
    EXPECT_EQ(columnLook(w, 1), designLook.arg(1));

    w.playoutPanel->SetNumberPlayers(0);
    EXPECT_EQ(w.playoutPanel->NumberPlayers(), 1);
    EXPECT_TRUE(
        logTexts().contains(QStringLiteral("SetNumberPlayers: 0 players shown as 1 (1 to 12)")));
    EXPECT_TRUE(w.playoutPanel->pnlPlayerCaption[2]->isHidden());

    w.playoutPanel->SetNumberPlayers(20);
    EXPECT_EQ(w.playoutPanel->NumberPlayers(), 12);
    EXPECT_EQ(w.playoutPanel->pnlPlayerCaption.size(), 13) << "element 0 and the twelve columns";
    EXPECT_TRUE(
        logTexts().contains(QStringLiteral("SetNumberPlayers: 20 players shown as 12 (1 to 12)")));
    EXPECT_EQ(columnLook(w, 12), QStringLiteral("Player 12 0/ejectdis 0/cuedis 0/playdis tag 0 "
                                                "text  shown 1"))
        << "a column made on demand starts with the design's look";
    EXPECT_EQ(w.playoutPanel->pnlPlayerCaption[12]->font(),
              w.playoutPanel->pnlPlayerCaption[1]->font());

    w.playoutPanel->SetNumberPlayers(6);
    w.playoutPanel->ShowPlayerStatus(5, 5, QStringLiteral("On air"));
    const QString fifth = columnLook(w, 5);
    EXPECT_EQ(fifth, QStringLiteral("Player 5 1/ejectwhite 1/cuewhite 1/pausewhite tag 1 text On "
                                    "air shown 1"));
    w.playoutPanel->SetNumberPlayers(3);
    for (int n = 4; n <= 12; ++n) {
        EXPECT_TRUE(w.playoutPanel->pnlPlayerCaption[n]->isHidden()) << n;
        EXPECT_TRUE(w.playoutPanel->cmdPlayerPlay[n]->isHidden()) << n;
        EXPECT_TRUE(w.playoutPanel->uPlayerScroller[n]->isHidden()) << n;
    }
    EXPECT_EQ(w.playoutPanel->pnlPlayerCaption.size(), 13) << "hidden, never destroyed";
    w.playoutPanel->SetNumberPlayers(6);
    EXPECT_EQ(columnLook(w, 5), fifth) << "shown again as it was";
    EXPECT_TRUE(w.playoutPanel->pnlPlayerCaption[7]->isHidden());
}

TEST_F(MainWindowPanel, StatusLinesSetTheButtonsTagAndText) {
    ASSERT_NO_FATAL_FAILURE(startWithPanel());
    frmMain& w = *window;
    w.playoutPanel->ShowPlayerStatus(2, 5, QStringLiteral("Song"));
    EXPECT_EQ(w.playoutPanel->cmdPlayerPlay[2]->PictureKey(), QStringLiteral("pausewhite"));
    EXPECT_EQ(w.playoutPanel->cmdPlayerPlay[2]->Tag(), QStringLiteral("1"));
    w.playoutPanel->ShowPlayerStatus(2, 9, QStringLiteral("Song"));
    EXPECT_EQ(w.playoutPanel->cmdPlayerPlay[2]->PictureKey(), QStringLiteral("playwhite"));
    EXPECT_EQ(w.playoutPanel->cmdPlayerPlay[2]->Tag(), QStringLiteral("0"));
    w.playoutPanel->ShowPlayerStatus(2, 14, QStringLiteral("Loading"));
    EXPECT_EQ(columnLook(w, 2), QStringLiteral("Player 2 1/ejectwhite 1/cuewhite 0/playdis tag 0 "
                                               "text Loading shown 1"));
    w.playoutPanel->ShowPlayerStatus(2, 7, QStringLiteral("Gone"));
    EXPECT_EQ(columnLook(w, 2), QStringLiteral("Player 2 0/ejectdis 0/cuedis 0/pausedis tag 0 "
                                               "text  shown 1"));
}

TEST_F(MainWindowPanel, NumbersOutsideTheirRangeChangeNothingAndAreLogged) {
    ASSERT_NO_FATAL_FAILURE(startWithPanel());
    frmMain& w = *window;
    w.playoutPanel->ShowInstantCartState(1, QStringLiteral("Jingle"));
    w.playoutPanel->ShowPlayerStatus(1, 5, QStringLiteral("Song"));
    const QStringList before = everyLook(w);
    const std::pair<std::function<void()>, QString> cases[] = {
        {[&] { w.playoutPanel->ShowPlayerStatus(5, 9, QStringLiteral("x")); },
         QStringLiteral("ShowPlayerStatus: player 5 is outside 1 to 4")},
        {[&] { w.playoutPanel->ShowPlayerStatus(0, 9, QStringLiteral("x")); },
         QStringLiteral("ShowPlayerStatus: player 0 is outside 1 to 4")},
        {[&] { w.playoutPanel->ShowPlayerStatus(-1, 9, QStringLiteral("x")); },
         QStringLiteral("ShowPlayerStatus: player -1 is outside 1 to 4")},
        {[&] { w.playoutPanel->ShowInstantCartState(0, QStringLiteral("Jingle")); },
         QStringLiteral("ShowInstantCartState: cart 0 is outside 1 to 20")},
        {[&] { w.playoutPanel->ShowInstantCartState(21, QStringLiteral("Jingle")); },
         QStringLiteral("ShowInstantCartState: cart 21 is outside 1 to 20")},
        {[&] { w.playoutPanel->ShowInstantCartState(-1, QStringLiteral("Jingle")); },
         QStringLiteral("ShowInstantCartState: cart -1 is outside 1 to 20")},
    };
    for (const auto& [line, logged] : cases) {
        SCOPED_TRACE(logged.toStdString());
        line();
        EXPECT_EQ(everyLook(w), before);
        EXPECT_TRUE(logTexts().contains(logged));
    }

    // Inside the range: a blank text unloads the cart.
    w.playoutPanel->ShowInstantCartState(1, QStringLiteral("   "));
    EXPECT_FALSE(w.playoutPanel->cmdInstantCart[1]->isEnabled());
    w.playoutPanel->ShowInstantCartState(20, QStringLiteral("Last"));
    EXPECT_TRUE(w.playoutPanel->cmdInstantCart[20]->isEnabled());
}

TEST_F(MainWindowPanel, LogLinesSetTheLogButtonsPicturesAndText) {
    ASSERT_NO_FATAL_FAILURE(startWithPanel());
    frmMain& w = *window;
    w.playoutPanel->ShowLogStatus(true);
    EXPECT_EQ(w.playoutPanel->cmdLogGo->PictureKey(), QStringLiteral("gowhite"));
    EXPECT_TRUE(w.playoutPanel->cmdLogHome->isEnabled());
    w.playoutPanel->ShowLogMode(true, false, QStringLiteral("Automation"));
    EXPECT_EQ(w.playoutPanel->cmdLogStandby->PictureKey(), QStringLiteral("powergreen"));
    EXPECT_TRUE(w.playoutPanel->cmdLogPrecue->isEnabled());
    EXPECT_TRUE(w.playoutPanel->cmdLogEndType->isEnabled());
    EXPECT_EQ(w.playoutPanel->uLogScroller->Text(), QStringLiteral("Automation"));
    w.playoutPanel->ShowLogCurrentItem(QStringLiteral("Tune-The Band"));
    EXPECT_EQ(w.playoutPanel->uLogScroller->Text(), QStringLiteral("Tune-The Band"));
    w.playoutPanel->ShowLogStatus(true);
    EXPECT_EQ(w.playoutPanel->cmdLogStandby->PictureKey(), QStringLiteral("powerred"));
    w.playoutPanel->ShowLogMode(false, false, std::nullopt);
    EXPECT_EQ(w.playoutPanel->cmdLogGo->PictureKey(), QStringLiteral("godis"));
    EXPECT_FALSE(w.playoutPanel->cmdLogGo->isEnabled());
    EXPECT_EQ(w.playoutPanel->uLogScroller->Text(), QString());
    w.playoutPanel->ShowLogStatus(false);
    EXPECT_EQ(w.playoutPanel->cmdLogStandby->PictureKey(), QStringLiteral("powerdis"));
    EXPECT_FALSE(w.playoutPanel->cmdLogHome->isEnabled());
    EXPECT_FALSE(w.playoutPanel->cmdLogStandby->isEnabled());
}

TEST_F(MainWindowPanel, ShownTextsAreTheWindowsOwnCopiesTheNextLineCannotChange) {
    ASSERT_NO_FATAL_FAILURE(startWithPanel());
    frmMain& w = *window;
    // The parser's texts are views into a buffer the next line is decoded into.
    QString buffer = QStringLiteral("Song");
    w.playoutPanel->ShowPlayerStatus(2, 5, buffer);
    w.playoutPanel->ShowLogCurrentItem(buffer);
    std::copy_n(u"Tune", 4, buffer.data());
    EXPECT_EQ(w.playoutPanel->uPlayerScroller[2]->Text(), QStringLiteral("Song"));
    EXPECT_EQ(w.playoutPanel->uLogScroller->Text(), QStringLiteral("Song"));
    w.playoutPanel->ShowLogMode(true, false, QStringView(buffer));
    std::copy_n(u"Talk", 4, buffer.data());
    EXPECT_EQ(w.playoutPanel->uLogScroller->Text(), QStringLiteral("Tune"));
    // The same buffer with a new text is a change that shows.
    w.playoutPanel->ShowPlayerStatus(2, 5, buffer);
    w.playoutPanel->ShowLogCurrentItem(buffer);
    EXPECT_EQ(w.playoutPanel->uPlayerScroller[2]->Text(), QStringLiteral("Talk"));
    EXPECT_EQ(w.playoutPanel->uLogScroller->Text(), QStringLiteral("Talk"));
}

TEST_F(MainWindowPanel, EachButtonSendsItsCommand) {
    ASSERT_NO_FATAL_FAILURE(startWithPanel());
    ASSERT_NO_FATAL_FAILURE(handshake());
    frmMain& w = *window;
    w.playoutPanel->SetNumberPlayers(12);
    w.playoutPanel->ShowLogStatus(true);
    w.playoutPanel->ShowLogMode(true, true, std::nullopt);
    w.playoutPanel->ShowPlayerStatus(12, 9, QStringLiteral("Song"));
    w.playoutPanel->ShowInstantCartState(7, QStringLiteral("Jingle"));
    const std::pair<QWidget*, const char*> cases[] = {
        {w.playoutPanel->cmdLogGo, "LOG GO"},
        {w.playoutPanel->cmdLogPrecue, "LOG PRECUE"},
        {w.playoutPanel->cmdLogStandby, "LOG MODE TOGGLE"},
        {w.playoutPanel->cmdLogPreview, "LOG ITEM PREVIEW"},
        {w.playoutPanel->cmdLogEndType, "LOG TOGGLEENDING"},
        {w.playoutPanel->cmdLogDelete, "LOG ITEM TOGGLEDELETE"},
        {w.playoutPanel->cmdLogHome, "LOG VIEW HOME"},
        {w.playoutPanel->cmdLogPrevHour, "LOG VIEW PREVHOUR"},
        {w.playoutPanel->cmdLogNextHour, "LOG VIEW NEXTHOUR"},
        {w.playoutPanel->cmdLogUp, "LOG VIEW SCROLLUP"},
        {w.playoutPanel->cmdLogDown, "LOG VIEW SCROLLDOWN"},
        {w.playoutPanel->cmdPlayerCue[12], "PLAYER CUE 12"},
        {w.playoutPanel->cmdPlayerClose[12], "PLAYER CLOSE 12"},
        {w.playoutPanel->cmdPlayerPlay[12], "PLAYER PLAY 12"},
        {w.playoutPanel->cmdInstantCart[7], "IC PLAY 7"},
    };
    for (const auto& [button, line] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(sentAfter([&] { click(button); }), QLatin1String(line));
    }

    // The play button's Tag chooses between play and pause.
    const std::pair<const char*, const char*> tags[] = {
        {"1", "PLAYER PAUSE 12"}, {"0", "PLAYER PLAY 12"}, {"", "PLAYER PLAY 12"}};
    for (const auto& [tag, line] : tags) {
        SCOPED_TRACE(tag);
        w.playoutPanel->cmdPlayerPlay[12]->SetTag(QLatin1String(tag));
        EXPECT_EQ(sentAfter([&] { click(w.playoutPanel->cmdPlayerPlay[12]); }),
                  QLatin1String(line));
    }
}

TEST_F(MainWindowPanel, ACartSendsTheWordsOfThePlayoutSystemsVersion) {
    ASSERT_NO_FATAL_FAILURE(startWithPanel());
    ASSERT_NO_FATAL_FAILURE(handshake("3.4.9"));
    frmMain& w = *window;
    EXPECT_EQ(sentAfter([&] { w.playoutPanel->cmdInstantCart_Click(7); }),
              QStringLiteral("INSTANTCART PLAY 7"));
    ASSERT_NO_FATAL_FAILURE(handshake("3.5.0"));
    EXPECT_EQ(sentAfter([&] { w.playoutPanel->cmdInstantCart_Click(7); }),
              QStringLiteral("IC PLAY 7"));
}

TEST_F(MainWindowPanel, NothingIsSentWhileTheLinkIsDown) {
    ASSERT_NO_FATAL_FAILURE(startWithPanel());
    ASSERT_NO_FATAL_FAILURE(handshake());
    frmMain& w = *window;
    w.mnuDisconnect->trigger();
    for (void (PlayoutPanel::*press)() :
         {&PlayoutPanel::cmdLogGo_Click, &PlayoutPanel::cmdLogStandby_Click}) {
        (w.playoutPanel->*press)();
    }
    w.playoutPanel->cmdPlayerPlay_Click(1);
    w.playoutPanel->cmdInstantCart_Click(1);
    // Back up: the first thing the playout side hears is the new handshake's answer.
    w.mnuConnect->trigger();
    ASSERT_NO_FATAL_FAILURE(handshake());
    w.playoutPanel->cmdLogHome_Click();
    ASSERT_TRUE(WaitFor([&] { return !peer.Received().isEmpty(); }));
    EXPECT_EQ(peer.TakeReceived(), QStringList{QStringLiteral("LOG VIEW HOME")});
}

TEST_F(MainWindowPanel, TheButtonsTakeNoKeyboardFocus) {
    ASSERT_NO_FATAL_FAILURE(startWithPanel());
    frmMain& w = *window;
    QList<QWidget*> buttons = {w.playoutPanel->cmdLogGo, w.playoutPanel->cmdLogHome,
                               w.playoutPanel->cmdPlayerPlay[1], w.playoutPanel->cmdPlayerCue[1],
                               w.playoutPanel->cmdPlayerClose[1]};
    for (qsizetype n = 1; n < w.playoutPanel->cmdInstantCart.size(); ++n) {
        buttons << w.playoutPanel->cmdInstantCart[n];
    }
    for (QWidget* b : buttons) {
        EXPECT_EQ(b->focusPolicy(), Qt::NoFocus) << b->objectName().toStdString();
    }
}

TEST_F(MainWindowPanel, TheViewItemsShowTheirPartsAndAreStored) {
    ASSERT_NO_FATAL_FAILURE(startWithPanel());
    frmMain& w = *window;
    // A new user's keyboard item starts unticked and its "Go" item ticked; the fixture ticked
    // the other two.
    EXPECT_EQ(userSetting(QStringLiteral("ViewVorelaKeyboard")), QStringLiteral("1"));
    EXPECT_EQ(userSetting(QStringLiteral("ViewVorelaLogGo")), QStringLiteral("<unset>"));
    EXPECT_EQ(userSetting(QStringLiteral("ViewVorelaLogNavigation")), QStringLiteral("1"));
    EXPECT_FALSE(w.playoutPanel->pnlVorelaKeyboard->isHidden());
    EXPECT_FALSE(w.playoutPanel->picLogControl->isHidden());
    EXPECT_FALSE(w.playoutPanel->picLogNavigation->isHidden());

    w.mnuViewLogGo->trigger();
    EXPECT_TRUE(w.playoutPanel->picLogControl->isHidden());
    EXPECT_FALSE(w.playoutPanel->pnlLog->isHidden());
    EXPECT_EQ(userSetting(QStringLiteral("ViewVorelaLogGo")), QStringLiteral("0"));
    w.mnuViewLogNavigation->trigger();
    EXPECT_TRUE(w.playoutPanel->picLogNavigation->isHidden());
    EXPECT_TRUE(w.playoutPanel->pnlLog->isHidden()) << "no group, no log panel";
    EXPECT_EQ(userSetting(QStringLiteral("ViewVorelaLogNavigation")), QStringLiteral("0"));
    w.mnuViewLogNavigation->trigger();
    EXPECT_FALSE(w.playoutPanel->picLogNavigation->isHidden());
    EXPECT_FALSE(w.playoutPanel->pnlLog->isHidden());

    w.mnuViewVorelaKeyboard->trigger();
    EXPECT_FALSE(w.mnuViewLogGo->isEnabled());
    EXPECT_FALSE(w.mnuViewLogNavigation->isEnabled());
    EXPECT_TRUE(w.playoutPanel->pnlVorelaKeyboard->isHidden());
    EXPECT_TRUE(w.playoutPanel->cmdShowVorelaKeyboard->isHidden());
    EXPECT_TRUE(w.playoutPanel->pnlNotConnected->isHidden());
    EXPECT_EQ(userSetting(QStringLiteral("ViewVorelaKeyboard")), QStringLiteral("0"));

    // Logged out, the items change the window and store nothing.
    w.mnuLogout->trigger();
    w.mnuViewVorelaKeyboard->trigger();
    EXPECT_TRUE(w.mnuViewVorelaKeyboard->isChecked());
    bool ok = false;
    directory()->LoginContact(directory()->GetContactByLoginName(QStringLiteral("admin")), 1,
                              QString(), ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(userSetting(QStringLiteral("ViewVorelaKeyboard")), QStringLiteral("0"));
    EXPECT_FALSE(w.mnuViewVorelaKeyboard->isChecked()) << "the stored choice is restored";
}

TEST_F(MainWindowPanel, TheViewItemsStoreNothingWhileTheWindowIsNotReady) {
    ASSERT_NO_FATAL_FAILURE(startWithPanel());
    frmMain& w = *window;
    ASSERT_EQ(userSetting(QStringLiteral("ViewVorelaLogNavigation")), QStringLiteral("1"));
    // The talkback folder has become a plain file: the reload that follows the settings
    // dialog fails and asks for the settings again while the window is not ready.
    const QString talkback = folder("talkback");
    ASSERT_TRUE(QDir(talkback).removeRecursively());
    QFile plain(talkback);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    int dialogs = 0;
    Program::Instance().Windows().Register(WindowKind::Settings, ScriptedWindowMaker([&] {
                                               if (++dialogs == 2) {
                                                   EXPECT_FALSE(w.FormReady());
                                                   w.mnuViewLogNavigation->trigger();
                                               }
                                           }));
    w.mnuProgramSettings_Click();
    EXPECT_EQ(dialogs, 2);
    EXPECT_FALSE(w.mnuViewLogNavigation->isChecked());
    EXPECT_EQ(userSetting(QStringLiteral("ViewVorelaLogNavigation")), QStringLiteral("1"));
}

TEST_F(MainWindowPanel, TheCoverLiesOverThePanelExactlyWhileTheLinkIsNotConnected) {
    ASSERT_NO_FATAL_FAILURE(startWithPanel());
    frmMain& w = *window;
    ASSERT_NO_FATAL_FAILURE(handshake());
    EXPECT_TRUE(w.playoutPanel->pnlNotConnected->isHidden());

    // Unticked while the link is down: no cover; ticked again: the cover, in front.
    w.mnuDisconnect->trigger();
    EXPECT_FALSE(w.playoutPanel->pnlNotConnected->isHidden());
    w.mnuViewVorelaKeyboard->trigger();
    EXPECT_TRUE(w.playoutPanel->pnlNotConnected->isHidden());
    w.mnuViewVorelaKeyboard->trigger();
    EXPECT_FALSE(w.playoutPanel->pnlNotConnected->isHidden());
    const QObjectList children = w.playoutPanel->pnlVorelaKeyboard->children();
    EXPECT_EQ(children.last(), w.playoutPanel->pnlNotConnected)
        << "in front of everything in the panel";
    EXPECT_EQ(
        w.playoutPanel->pnlNotConnected->geometry(),
        w.playoutPanel->pnlNotConnected->geometry().united(w.playoutPanel->pnlPlayers->geometry()));

    // A login restoring the ticked item over a link that is down shows it too.
    w.mnuViewVorelaKeyboard->trigger();
    w.mnuLogout->trigger();
    bool ok = false;
    directory()->LoginContact(directory()->GetContactByLoginName(QStringLiteral("admin")), 1,
                              QString(), ok);
    ASSERT_TRUE(ok);
    // The login's settings load connects again: the cover stays until the socket connects.
    ASSERT_TRUE(WaitFor([&] { return w.Link()->State() == PlayoutLink::LinkState::Handshaking; }));
    EXPECT_TRUE(w.playoutPanel->pnlNotConnected->isHidden());
}

// The shown children of a container lie inside it and apart from each other; the cover is
// left out, as it lies over everything by design.
void expectChildrenInsideAndApart(const QWidget* container, const QWidget* cover = nullptr) {
    QList<const QWidget*> shown;
    for (const QWidget* child : container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isHidden() && child != cover) {
            shown << child;
        }
    }
    const std::string where = container->objectName().toStdString();
    for (const QWidget* child : shown) {
        EXPECT_TRUE(container->rect().contains(child->geometry()))
            << child->objectName().toStdString() << " inside " << where;
        EXPECT_GT(child->width(), 0) << child->objectName().toStdString();
    }
    for (qsizetype i = 0; i < shown.size(); ++i) {
        for (qsizetype j = i + 1; j < shown.size(); ++j) {
            EXPECT_FALSE(shown[i]->geometry().intersects(shown[j]->geometry()))
                << shown[i]->objectName().toStdString() << " and "
                << shown[j]->objectName().toStdString() << " in " << where;
        }
    }
}

// The panel at 1, 4 and 12 players on a studio laptop's window: everything inside and apart,
// nothing below the hide bar. With ORLIX_SCREENSHOTS set, each is also saved as a picture.
TEST_F(MainWindowPanel, ThePanelLaysEverythingInsideAndApartAtOneFourAndTwelvePlayers) {
    ASSERT_NO_FATAL_FAILURE(startWithPanel());
    ASSERT_NO_FATAL_FAILURE(handshake());
    frmMain& w = *window;
    w.playoutPanel->ShowLogStatus(true);
    w.playoutPanel->ShowLogMode(true, true, QStringLiteral("Automation"));
    w.playoutPanel->ShowLogCurrentItem(QStringLiteral("Tune-The Band"));
    w.playoutPanel->ShowInstantCartState(1, QStringLiteral("Station Jingle"));
    const QString shots = qEnvironmentVariable("ORLIX_SCREENSHOTS");
    for (const qint16 players : {qint16(1), qint16(4), qint16(12)}) {
        SCOPED_TRACE(players);
        w.playoutPanel->SetNumberPlayers(players);
        // Playing, paused and unavailable players, where there are enough.
        const qint32 statuses[] = {5, 9, 18};
        for (qint16 n = 1; n <= players; ++n) {
            const qint32 status = statuses[(n - 1) % 3];
            w.playoutPanel->ShowPlayerStatus(
                n, status, status == 18 ? QString() : QStringLiteral("Track %1").arg(n));
        }
        QApplication::processEvents();
        EXPECT_FALSE(w.playoutPanel->pnlVorelaKeyboard->isHidden());
        EXPECT_TRUE(w.playoutPanel->pnlNotConnected->isHidden());
        EXPECT_TRUE(
            w.centralWidget()->rect().contains(w.playoutPanel->pnlVorelaKeyboard->geometry()));
        expectChildrenInsideAndApart(w.playoutPanel->pnlVorelaKeyboard,
                                     w.playoutPanel->pnlNotConnected);
        for (const QWidget* child : w.playoutPanel->pnlVorelaKeyboard->findChildren<QWidget*>(
                 Qt::FindDirectChildrenOnly)) {
            if (!child->isHidden() && child != w.playoutPanel->pnlVorelaHide &&
                child != w.playoutPanel->pnlNotConnected) {
                EXPECT_LE(child->geometry().bottom(), w.playoutPanel->pnlVorelaHide->y())
                    << child->objectName().toStdString() << " above the hide bar";
            }
        }
        for (const QWidget* container :
             {static_cast<QWidget*>(w.playoutPanel->pnlPlayers),
              static_cast<QWidget*>(w.playoutPanel->pnlInstantCarts),
              static_cast<QWidget*>(w.playoutPanel->pnlLog), w.playoutPanel->picLogControl,
              w.playoutPanel->picLogNavigation}) {
            expectChildrenInsideAndApart(container);
        }
        if (!shots.isEmpty()) {
            w.grab().save(shots + QStringLiteral("/playout-%1.png").arg(players));
        }
    }
}
} // namespace
