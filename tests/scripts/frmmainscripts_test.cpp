// The Scripts tab of the running main window, with the playout test peer on 127.0.0.1 sending
// the log's scripts.

#include "mainwindow/mainwindowfixture.h"

#include "mainwindow/panes/scriptspane.h"
#include "platform/ui/uhtmlscroller.h"
#include "platform/ui/upanel3.h"
#include "scripts/scripttree.h"
#include "scripts/scriptview.h"

#include "scriptviewdriver.h"
#include "support/playoutpeerprocess.h"
#include "support/readonlyfolder.h"
#include "support/scripteddialogs.h"
#include "support/scriptedwindow.h"
#include "support/waitfor.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <QToolBar>
#include <QToolButton>

namespace {
using playoutpeer::Peer;

class MainWindowScripts : public MainWindowFixture {
protected:
    void startWithPeer() {
        peer = std::make_unique<Peer>("+CONNECTED AppName=VORELA3 Version=3.5.0", 4);
        ASSERT_TRUE(peer->Started());
        playoutPort = peer->Port();
        seedProfile(true);
        addUser(QStringLiteral("admin"));
        ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
        window->resize(1280, 800);
        window->show();
        window->optScripts_Click();
        ASSERT_TRUE(WaitFor([&] { return window->Link()->State() == PlayoutLink::LinkState::Up; }));
        // The handshake's own answer on the number of players has come and gone.
        ASSERT_TRUE(peer->WaitFor(QStringLiteral("RECEIVED GET NUMBERPLAYERS")));
        ASSERT_TRUE(WaitFor([&] { return window->playoutPanel->NumberPlayers() == 4; }));
    }
    QString shown() const { return ScriptViewDriver::Shown(window->wbScripts); }
    void select(const QString& key) {
        auto* tree = static_cast<ScriptTree*>(window->treeScripts);
        QTreeWidgetItem* node = tree->NodeByKey(key);
        ASSERT_NE(node, nullptr);
        tree->setCurrentItem(node);
        window->treeScripts_NodeClick(node);
    }
    // A line the window shows elsewhere, to know the peer's earlier lines were read.
    void syncWith(int players) {
        peer->Command(QStringLiteral("send SET NUMBERPLAYERS %1\\r\\n").arg(players));
        ASSERT_TRUE(WaitFor([&] { return window->playoutPanel->NumberPlayers() == players; }));
    }
    std::unique_ptr<Peer> peer;
};

TEST_F(MainWindowScripts, LogScriptsShowWhileLogScriptsIsSelected) {
    ASSERT_NO_FATAL_FAILURE(startWithPeer());
    // The login opened the user's own script.
    EXPECT_TRUE(shown().startsWith(QStringLiteral("Admin's script:"))) << shown().toStdString();

    peer->Command(QStringLiteral("send SET LOG SCRIPT,Not for the personal script\\r\\n"));
    ASSERT_NO_FATAL_FAILURE(syncWith(3));
    EXPECT_TRUE(shown().startsWith(QStringLiteral("Admin's script:")));

    select(QStringLiteral("LOGSCRIPT"));
    EXPECT_EQ(shown(), QString());
    peer->Command(QStringLiteral("send SET LOG SCRIPT,Hello, world\\r\\n"));
    ASSERT_TRUE(WaitFor([&] { return shown() == QLatin1String("Hello, world"); }));
    EXPECT_FALSE(window->chkScriptEdit->isEnabled());
    peer->Command(QStringLiteral("send SCRIPT Top of the hour, news next\\r\\n"));
    ASSERT_TRUE(WaitFor([&] { return shown() == QLatin1String("Top of the hour, news next"); }));

    select(QStringLiteral("OTHERSCRIPTS"));
    peer->Command(QStringLiteral("send SCRIPT Not under Other Scripts\\r\\n"));
    ASSERT_NO_FATAL_FAILURE(syncWith(4));
    EXPECT_EQ(shown(), QString());
}

TEST_F(MainWindowScripts, AutoScrollMovesALongLogScript) {
    ASSERT_NO_FATAL_FAILURE(startWithPeer());
    select(QStringLiteral("LOGSCRIPT"));
    QString text;
    for (int i = 0; i < 300; ++i) {
        text += QStringLiteral("<p>Paragraph %1 of a long script</p>").arg(i);
    }
    peer->Command(QStringLiteral("send SCRIPT <html>") + text + QStringLiteral("\\r\\n"));
    ASSERT_TRUE(WaitFor([&] { return shown().startsWith(QLatin1String("Paragraph 0")); }));
    ASSERT_GT(ScriptViewDriver::Run(window->wbScripts,
                                    QStringLiteral("document.scrollingElement.scrollHeight-"
                                                   "window.innerHeight"))
                  .toInt(),
              0);
    window->chkScriptAutoScroll->click();
    EXPECT_TRUE(WaitFor([&] { return window->wbScripts->ScrollPosition().y() > 0; }, 10000));
    window->chkScriptAutoScroll->click();
}

// The tab as a presenter finds it: their own script and two shared ones, one shown for editing.
// With ORLIX_SCREENSHOTS set, the tab is saved as scripts-shown.png in that folder.
TEST_F(MainWindowScripts, TheTabShowsThePersonalAndTheSharedScripts) {
    seedProfile(false);
    addUser(QStringLiteral("admin"));
    const QString scripts = folder("scripts");
    ASSERT_TRUE(QDir().mkpath(scripts));
    const auto write = [&](const char* name, const char* html) {
        QFile f(scripts + QLatin1Char('/') + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(html);
    };
    write("Breakfast Intro.htm",
          "<html><head><meta charset=\"utf-8\"><title>Breakfast Intro</title></head><body>"
          "<p>Good morning, it is seven o'clock.</p><p>Coming up: the news, the weather and the "
          "travel.</p><p><b>Remember:</b> the competition line opens at eight.</p></body></html>");
    write("Weather Link.htm", "<p>And now the weather for the region.</p>");
    ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
    frmMain& w = *window;
    w.resize(1280, 800);
    w.show();
    w.optScripts->SetValue(1);
    w.optScripts_Click();
    QApplication::processEvents();

    ASSERT_EQ(w.treeScripts->topLevelItemCount(), 2);
    EXPECT_EQ(w.treeScripts->topLevelItem(0)->text(0), QStringLiteral("Admin's script"));
    QTreeWidgetItem* other = w.treeScripts->topLevelItem(1);
    ASSERT_EQ(other->childCount(), 2);
    EXPECT_EQ(other->child(0)->text(0), QStringLiteral("Breakfast Intro"));
    EXPECT_EQ(other->child(1)->text(0), QStringLiteral("Weather Link"));

    select(scripts + QStringLiteral("/Breakfast Intro.htm"));
    EXPECT_TRUE(shown().startsWith(QStringLiteral("Good morning")));
    w.chkScriptEdit->click();
    EXPECT_TRUE(w.wbScripts->EditMode());
    EXPECT_TRUE(w.toolScripts->isVisible());
    EXPECT_TRUE(w.scriptsPane->ToolButton(QStringLiteral("bold"))->isEnabled());
    EXPECT_EQ(w.chkScriptAutoScroll->text(), QStringLiteral("Auto Scroll"));
    EXPECT_EQ(w.chkScriptEdit->text(), QStringLiteral("Edit Script"));
    QApplication::processEvents();
    const QString shots = qEnvironmentVariable("ORLIX_SCREENSHOTS");
    if (!shots.isEmpty()) {
        // The engine paints its frame a little after the load; a view still blank after a
        // while is saved as it is (offscreen, the engine may draw nothing to grab).
        const auto painted = [&] {
            const QImage view = w.wbScripts->grab().toImage();
            for (int y = 0; y < view.height(); y += 4) {
                for (int x = 0; x < view.width(); x += 4) {
                    if (qGray(view.pixel(x, y)) < 128) {
                        return true;
                    }
                }
            }
            return false;
        };
        WaitFor(painted, 3000);
        w.grab().save(shots + QStringLiteral("/scripts-shown.png"));
    }
}

// The settings dialog closed, with OK or Cancel, reloads the settings: the script that was shown
// is shown again, selected and editable, rather than the view left empty.
TEST_F(MainWindowScripts, TheShownScriptStaysThroughTheSettingsDialog) {
    seedProfile(false);
    addUser(QStringLiteral("admin"));
    const QString scripts = folder("scripts");
    ASSERT_TRUE(QDir().mkpath(scripts));
    {
        QFile f(scripts + QStringLiteral("/Breakfast Intro.htm"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<p>Good morning, it is seven o'clock.</p>");
    }
    ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
    frmMain& w = *window;
    w.resize(1280, 800);
    w.show();
    w.optScripts->SetValue(1);
    w.optScripts_Click();
    QApplication::processEvents();
    const QString key = scripts + QStringLiteral("/Breakfast Intro.htm");
    ASSERT_NO_FATAL_FAILURE(select(key));
    ASSERT_TRUE(shown().startsWith(QStringLiteral("Good morning")));
    ASSERT_TRUE(w.chkScriptEdit->isEnabled());

    int dialogs = 0;
    Program::Instance().Windows().Register(WindowKind::Settings,
                                           ScriptedWindowMaker([&] { ++dialogs; }));
    for (int round = 0; round < 2; ++round) {
        w.mnuProgramSettings_Click();
        QApplication::processEvents();
        EXPECT_EQ(dialogs, round + 1);
        EXPECT_TRUE(shown().startsWith(QStringLiteral("Good morning"))) << shown().toStdString();
        EXPECT_EQ(static_cast<ScriptTree*>(w.treeScripts)->SelectedKey(), key);
        EXPECT_TRUE(w.chkScriptEdit->isEnabled());
    }
}

// A script line's question is asked after the line's handling: while it is open the link reads
// on and the panel follows the playout system, and the script lines that come meanwhile are
// dropped rather than each asking again.
TEST_F(MainWindowScripts, TheLinkReadsOnWhileAScriptLinesQuestionIsOpen) {
    const QString path = folder("scripts") + QStringLiteral("/Shared.htm");
    ASSERT_TRUE(QDir().mkpath(folder("scripts")));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<p>The shared script.</p>");
    }
    ASSERT_NO_FATAL_FAILURE(startWithPeer());
    frmMain& w = *window;
    ScriptsPane& pane = *w.scriptsPane;
    select(path);
    ASSERT_EQ(pane.ScriptFile(), path);
    w.chkScriptEdit->click();
    ASSERT_TRUE(w.wbScripts->EditMode());
    ASSERT_TRUE(ScriptViewDriver::Settled(w.wbScripts));
    QApplication::clipboard()->setText(QStringLiteral("Mine"));
    ASSERT_TRUE(ScriptViewDriver::Focus(w.wbScripts));
    pane.toolScripts_ButtonClick(QStringLiteral("paste"));
    ASSERT_TRUE(WaitFor([&] { return pane.ScriptChanged(); }));
    ASSERT_TRUE(pane.ScriptEditable());

    PlayoutLink& link = *w.Link();
    PlayoutPanel& panel = *w.playoutPanel;
    const auto questions = [] {
        return std::count_if(TestMessageBoxes().shown().begin(), TestMessageBoxes().shown().end(),
                             [](const MessageBoxRequest& r) {
                                 return r.text.startsWith(
                                     QLatin1String("The current script has been changed"));
                             });
    };
    bool heldSongWhileOpen = false;
    bool pauseFaceWhileOpen = false;
    quint64 handledAtOpening = 0;
    qint64 allHandledAt = -1;
    QElapsedTimer clock;
    clock.start();
    TestMessageBoxes().queue(MsgResult::No);
    TestMessageBoxes().holdNext(
        [&] {
            handledAtOpening = link.LinesHandled();
            peer->Command(QStringLiteral("send SET PLAYER STATUS,1,5,Held Song\\r\\n"
                                         "SET LOG SCRIPT,Two\\r\\nSET LOG SCRIPT,Three\\r\\n"
                                         "SCRIPT Four\\r\\n"));
        },
        [&] {
            heldSongWhileOpen = panel.uPlayerScroller[1]->Text() == QLatin1String("Held Song");
            pauseFaceWhileOpen =
                panel.cmdPlayerPlay[1]->PictureKey() == QLatin1String("pausewhite");
            if (link.LinesHandled() < handledAtOpening + 4) {
                return false;
            }
            if (allHandledAt < 0) {
                allHandledAt = clock.elapsed();
            }
            // The shows the script lines posted have had their turn while the box is open.
            return clock.elapsed() - allHandledAt > 100;
        },
        5000);
    peer->Command(QStringLiteral("send SET LOG SCRIPT,One\\r\\n"));
    ASSERT_TRUE(WaitFor([&] { return questions() >= 1 && !TestMessageBoxes().holding(); }, 10000));
    EXPECT_TRUE(heldSongWhileOpen);
    EXPECT_TRUE(pauseFaceWhileOpen);
    EXPECT_EQ(link.LinesHandled() - handledAtOpening, 4U);
    // Anything still to ask has had its chance by the time a later line shows.
    ASSERT_NO_FATAL_FAILURE(syncWith(3));
    EXPECT_EQ(questions(), 1);
    EXPECT_TRUE(pane.ScriptChanged()) << "No keeps the edits on the screen";
    EXPECT_EQ(pane.ScriptFile(), path);
    EXPECT_EQ(link.State(), PlayoutLink::LinkState::Up);
}

// Logout, the settings reload and closing ask to save an edited script first; a Yes whose
// save fails stops the command and keeps the edits.
TEST_F(MainWindowScripts, CommandsThatDropTheScriptAskToSaveItFirst) {
    ASSERT_TRUE(startLoggedIn());
    frmMain& w = *window;
    ASSERT_TRUE(ShowActive(w));
    w.optScripts_Click();
    ScriptsPane& pane = *w.scriptsPane;
    const QString path = pane.ScriptFile();
    ASSERT_TRUE(path.endsWith(QLatin1String("/OrlixScript.htm")));
    w.chkScriptEdit->click();
    ASSERT_TRUE(w.wbScripts->EditMode());
    ASSERT_TRUE(ScriptViewDriver::Settled(w.wbScripts));
    ASSERT_TRUE(ScriptViewDriver::CaretAtEnd(w.wbScripts));
    // The presenter's text comes in through the toolbar's Paste.
    QApplication::clipboard()->setText(QStringLiteral("Mine"));
    ASSERT_TRUE(ScriptViewDriver::Focus(w.wbScripts));
    pane.toolScripts_ButtonClick(QStringLiteral("paste"));
    ASSERT_TRUE(WaitFor([&] { return pane.ScriptChanged(); }));
    const QString folder = QFileInfo(path).absolutePath();
    {
        ReadOnlyFolder locked(folder);
        ASSERT_TRUE(locked.Problem().isEmpty()) << locked.Problem().toStdString();
        TestMessageBoxes().queue(MsgResult::Yes);
        w.mnuLogout_Click();
        EXPECT_NE(directory()->CurrentUser(), nullptr);
        TestMessageBoxes().queue(MsgResult::Yes);
        EXPECT_FALSE(w.Unload());
    }
    const auto count = [](const QString& start) {
        return std::count_if(TestMessageBoxes().shown().begin(), TestMessageBoxes().shown().end(),
                             [&](const MessageBoxRequest& r) { return r.text.startsWith(start); });
    };
    EXPECT_EQ(count(QStringLiteral("The current script has been changed")), 2);
    EXPECT_EQ(count(QStringLiteral("There was a problem saving the script into '") + path), 2);
    EXPECT_TRUE(pane.ScriptChanged());
    EXPECT_TRUE(ScriptViewDriver::Shown(w.wbScripts).endsWith(QLatin1String("Mine")));

    // Yes with a save that works: logout goes on, the edits are in the file.
    TestMessageBoxes().clear();
    TestMessageBoxes().queue(MsgResult::Yes);
    w.mnuLogout_Click();
    EXPECT_EQ(directory()->CurrentUser(), nullptr);
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_TRUE(saved.readAll().contains("Mine"));
}

} // namespace
