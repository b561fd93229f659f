// The Scripts tab of the running main window, with the playout test peer on 127.0.0.1 sending
// the log's scripts.

#include "mainwindow/mainwindowfixture.h"

#include "mainwindow/panes/scriptspane.h"
#include "scripts/scripttree.h"
#include "scripts/scriptview.h"
#include "support/playoutpeerprocess.h"
#include "support/waitfor.h"

#include <QScrollBar>
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
    }
    QString shown() const { return window->wbScripts->toPlainText(); }
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
        ASSERT_TRUE(WaitFor([&] { return window->NumberPlayers() == players; }));
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
    ASSERT_GT(window->wbScripts->verticalScrollBar()->maximum(), 0);
    window->chkScriptAutoScroll->click();
    EXPECT_TRUE(WaitFor([&] { return window->wbScripts->ScrollPosition().y() > 0; }, 10000));
    window->chkScriptAutoScroll->click();
}

} // namespace
