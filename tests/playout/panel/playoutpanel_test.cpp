// The keyboard panel on its own, in a bare client widget: no main window, no web engine. The
// link's parser shows through it and its buttons send through the link.

#include "playoutdoubles.h"

#include "core/profile/cocsettings.h"
#include "platform/ui/uhtmlscroller.h"
#include "platform/ui/upanel3.h"
#include "playout/link/playoutlink.h"
#include "playout/panel/playoutpanel.h"

#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {
class PlayoutPanelAlone : public ::testing::Test {
protected:
    PlayoutPanelAlone() : panel(new PlayoutPanel(&client)) {
        settings.SetVorelaComputerName(QStringLiteral("studio-playout"));
        auto s = std::make_unique<FakeSocketControl>();
        socket = s.get();
        link = std::make_unique<PlayoutLink>(
            *panel, [this] { return &settings; }, std::move(s),
            std::make_unique<ManualRetryTimer>());
        link->SetTurnBudgetNs(RecordingPlayoutWindow::kUnsplitTurnNs);
        panel->SetLink(link.get());
        panel->AddInstantCarts();
        client.resize(1280, 400);
        panel->pnlVorelaKeyboard->show();
        client.show();
        link->SetbLinkWanted(true);
        link->ConnectToVorela();
        socket->Accept();
        socket->SayLine(QStringLiteral("+CONNECTED AppName=VORELA3 Version=3.5.0"));
        socket->TakeSentLines();
    }

    QWidget client;
    PlayoutPanel* panel;
    cOCSettings settings;
    FakeSocketControl* socket = nullptr;
    std::unique_ptr<PlayoutLink> link;
};

TEST_F(PlayoutPanelAlone, ShowsWhatTheLinkParsesAndSendsWhatItsButtonsSay) {
    socket->Say("SET NUMBERPLAYERS 3\r\nSET PLAYER STATUS,2,5,Song\r\n"
                "SET IC CURRENTITEM,4,Jingle\r\nSET LOG CURRENTITEMS,AName1=Band ITitle=Tune\r\n");
    QTRY_VERIFY(!panel->pnlPlayerCaption[3]->isHidden());
    EXPECT_EQ(panel->NumberPlayers(), 3);
    EXPECT_EQ(panel->uPlayerScroller[2]->Text(), QStringLiteral("Song"));
    EXPECT_EQ(panel->cmdPlayerPlay[2]->PictureKey(), QStringLiteral("pausewhite"));
    EXPECT_TRUE(panel->cmdInstantCart[4]->isEnabled());
    EXPECT_EQ(panel->uLogScroller->Text(), QStringLiteral("Tune-Band"));
    socket->TakeSentLines();

    QTest::mouseClick(panel->cmdPlayerPlay[2], Qt::LeftButton);
    QTest::mouseClick(panel->cmdInstantCart[4], Qt::LeftButton);
    EXPECT_EQ(socket->TakeSentLines(),
              (QStringList{QStringLiteral("PLAYER PAUSE 2"), QStringLiteral("IC PLAY 4")}));
}

TEST_F(PlayoutPanelAlone, WithoutALinkItsButtonsSendNothingAndNothingFails) {
    panel->SetLink(nullptr);
    panel->cmdInstantCart_Click(1);
    panel->cmdLogGo_Click();
    EXPECT_TRUE(socket->TakeSentLines().isEmpty());
}
} // namespace
