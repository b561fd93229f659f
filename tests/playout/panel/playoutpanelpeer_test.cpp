// The keyboard panel on its own, in a bare client widget, driven by the playout test peer over
// 127.0.0.1: the real socket, framing, parser and display, without the main window or the web
// engine, so that these run under the sanitizers too.

#include "core/profile/cocsettings.h"
#include "platform/ui/uhtmlscroller.h"
#include "platform/ui/upanel3.h"
#include "playout/link/lineframer.h"
#include "playout/link/playoutlink.h"
#include "playout/panel/playoutpanel.h"
#include "support/playoutpeerprocess.h"
#include "support/waitfor.h"

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {
using playoutpeer::Peer;

class PlayoutPanelPeer : public ::testing::Test {
protected:
    void startWith(const QString& greeting, int players) {
        peer = std::make_unique<Peer>(greeting, players);
        ASSERT_TRUE(peer->Started());
        panel = new PlayoutPanel(&client);
        settings.SetVorelaComputerName(QStringLiteral("127.0.0.1"));
        link = std::make_unique<PlayoutLink>(*panel, [this] { return &settings; });
        link->SetPorts(peer->Port(), peer->Port());
        panel->SetLink(link.get());
        panel->AddInstantCarts();
        client.resize(1280, 400);
        panel->pnlVorelaKeyboard->show();
        client.show();
        link->SetbLinkWanted(true);
        link->ConnectToVorela();
        ASSERT_TRUE(WaitFor([&] { return link->State() == PlayoutLink::LinkState::Up; }));
        ASSERT_TRUE(WaitFor([&] { return panel->cmdInstantCart[1]->isEnabled(); }, 10000));
    }
    void TearDown() override {
        if (panel != nullptr) {
            panel->SetLink(nullptr);
        }
        link.reset();
    }

    QWidget client;
    PlayoutPanel* panel = nullptr;
    cOCSettings settings;
    std::unique_ptr<Peer> peer;
    std::unique_ptr<PlayoutLink> link;
};

TEST_F(PlayoutPanelPeer, HostileLinesChangeNothingOrAreBounded) {
    ASSERT_NO_FATAL_FAILURE(startWith("+CONNECTED AppName=VORELA3 Version=3.5.0", 12));
    ASSERT_EQ(panel->NumberPlayers(), 12);
    QList<bool> carts;
    for (QPushButton* cart : panel->cmdInstantCart) {
        carts << cart->isEnabled();
    }
    peer->Command("send SET PLAYER STATUS,13,5,Intruder\\r\\n"
                  "SET IC CURRENTITEM,0,Loaded\\r\\n"
                  "SET IC CURRENTITEM,21,Loaded\\r\\n"
                  "SET NUMBERPLAYERS 99999\\r\\n"
                  "SET LOG CURRENTITEMS,ITitle=Marker\\r\\n");
    ASSERT_TRUE(WaitFor([&] { return panel->uLogScroller->Text() == QLatin1String("Marker"); }));
    EXPECT_EQ(panel->pnlPlayerCaption.size(), 13) << "no thirteenth column";
    EXPECT_LE(panel->NumberPlayers(), 12);
    EXPECT_GE(panel->NumberPlayers(), 1);
    QList<bool> cartsAfter;
    for (QPushButton* cart : panel->cmdInstantCart) {
        cartsAfter << cart->isEnabled();
    }
    EXPECT_EQ(cartsAfter, carts) << "neither the hidden design cart nor a 21st";
    EXPECT_TRUE(panel->cmdInstantCart[0]->isHidden());

    // A player text as long as a line may be: kept whole, drawn bounded.
    const qsizetype length = LineFramer::kMaxLineBytes - 64;
    peer->Command("send SET PLAYER STATUS,1,9," + QString(length, QLatin1Char('x')) + "\\r\\n");
    ASSERT_TRUE(WaitFor([&] { return panel->uPlayerScroller[1]->Text().size() == length; }, 20000));
    // At most the limit, between the two isolate marks of the display rule.
    EXPECT_EQ(panel->uPlayerScroller[1]->lblText()->text().size(), uHTMLScroller::kMostShown + 2);
    EXPECT_EQ(link->State(), PlayoutLink::LinkState::Up);
}
} // namespace
