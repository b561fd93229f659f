#include "platform/messagesdb/messagesdbfixture.h"

#include "platform/directory/kvdirectory.h"
#include "platform/messagesdb/controls/umessagebasic.h"
#include "platform/messagesdb/controls/umessageslist.h"
#include "platform/messagesdb/controls/uprizebasic.h"
#include "platform/messagesdb/controls/uprizeslist.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/ui/paneframe.h"

#include <QApplication>
#include <QLabel>

#include <vector>

namespace {
class MessagePanesTest : public MessagesDbTest {
protected:
    static std::shared_ptr<StdFont> courier() {
        auto f = std::make_shared<StdFont>();
        f->Name = QStringLiteral("Courier New");
        f->Size = 13.5;
        f->Italic = true;
        return f;
    }
    // The font of a control given courier(), and the inherited one back once the font is gone.
    template <typename Pane> static void expectFontFollowed(Pane& pane) {
        const auto font = courier();
        pane.SetFont(font);
        EXPECT_EQ(pane.Font(), font);
        EXPECT_EQ(pane.font().family(), QStringLiteral("Courier New"));
        EXPECT_DOUBLE_EQ(pane.font().pointSizeF(), 13.5);
        EXPECT_TRUE(pane.font().italic());
        EXPECT_FALSE(pane.font().bold());
        // Its users change the font object in place; the next Refresh shows the change.
        font->Bold = true;
        pane.Refresh();
        EXPECT_TRUE(pane.font().bold());
        pane.SetFont(nullptr);
        EXPECT_EQ(pane.font(), QApplication::font());
    }
    template <typename Pane> static void expectBackColourShown(Pane& pane) {
        pane.SetBackColour(QColor(0x12, 0x34, 0x56));
        EXPECT_EQ(pane.BackColour(), QColor(0x12, 0x34, 0x56));
        EXPECT_EQ(pane.palette().color(QPalette::Window), QColor(0x12, 0x34, 0x56));
        EXPECT_TRUE(pane.autoFillBackground());
    }
};
} // namespace

TEST_F(MessagePanesTest, TheMessagesListHoldsItsSettingsAndForgetsADestroyedDatabase) {
    uMessagesList list;
    EXPECT_EQ(list.CurrentFolder(), OrlixDatabase::kInboxFolder);
    EXPECT_EQ(list.Database(), nullptr);
    EXPECT_EQ(list.fraList()->Text(), QStringLiteral("No messages database"));

    list.SetDatabase(db_.get());
    list.SetCurrentFolder(OrlixMessage::kNewMessagesFolder);
    for (const bool on : {true, false}) {
        list.SetDisplayNewMessage(on);
        list.SetAutoUpdate(on);
        list.SetDisplayMessageList(on);
        EXPECT_EQ(list.DisplayNewMessage(), on);
        EXPECT_EQ(list.AutoUpdate(), on);
        EXPECT_EQ(list.DisplayMessageList(), on);
    }
    EXPECT_EQ(list.Database(), db_.get());
    EXPECT_EQ(list.CurrentFolder(), OrlixMessage::kNewMessagesFolder);
    EXPECT_EQ(list.fraList()->Text(), QStringLiteral("Folder 6"));
    expectFontFollowed(list);
    expectBackColourShown(list);

    db_.reset();
    EXPECT_EQ(list.Database(), nullptr);
    list.Refresh();
    EXPECT_EQ(list.fraList()->Text(), QStringLiteral("No messages database"));
}

TEST_F(MessagePanesTest, RefreshRaisesBuildListAndAHandlersFilterServesOnlyThatBuild) {
    uMessagesList list;
    std::vector<QString> seen;
    QObject::connect(&list, &uMessagesList::BuildList, &list, [&](QString& filter) {
        seen.push_back(filter);
        filter = QStringLiteral("Subject LIKE '%win%'");
    });
    list.Refresh();
    list.Refresh();
    EXPECT_EQ(seen, (std::vector<QString>{QString(), QString()}));
    EXPECT_EQ(list.FilterText(), QString());
    EXPECT_EQ(list.RefreshCount(), 2);
}

TEST_F(MessagePanesTest, TheMessagePaneShowsListenerTextLiterally) {
    uMessageBasic pane;
    const QString subjects[] = {
        QStringLiteral("<b>x</b><script>"),
        QStringLiteral("<img src=x onerror=alert(1)>&amp;"),
        QStringLiteral("<a href='orlix:delete'>click</a>"),
    };
    for (const QString& subject : subjects) {
        const std::shared_ptr<OrlixMessage> m =
            email(subject, QLatin1Char('"') + subject + QStringLiteral("\" <ann@example.org>"));
        ASSERT_EQ(m->Subject(), subject);
        pane.SetMessage(m);
        EXPECT_EQ(pane.Message(), m);
        for (QLabel* label : {pane.lblSubject(), pane.lblFrom()}) {
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
            EXPECT_FALSE(label->openExternalLinks());
        }
        EXPECT_EQ(pane.lblSubject()->text(), subject);
        EXPECT_EQ(pane.lblFrom()->text(), m->FromText());
        EXPECT_TRUE(m->FromText().contains(subject)) << m->FromText().toStdString();
    }
    pane.SetMessage(nullptr);
    EXPECT_EQ(pane.lblSubject()->text(), QString());
    EXPECT_EQ(pane.lblFrom()->text(), QString());
    expectBackColourShown(pane);
}

TEST_F(MessagePanesTest, ThePrizesListHoldsItsSettingsUnderBothColourNames) {
    uPrizesList list;
    EXPECT_EQ(list.RefreshCount(), 0);
    list.SetDatabase(db_.get());
    list.SetAutoUpdate(false);
    EXPECT_EQ(list.Database(), db_.get());
    EXPECT_FALSE(list.AutoUpdate());
    expectFontFollowed(list);
    EXPECT_EQ(list.RefreshCount(), 1);
    expectBackColourShown(list);

    list.SetBackColor(QColor(Qt::yellow));
    EXPECT_EQ(list.BackColour(), QColor(Qt::yellow));
    EXPECT_EQ(list.palette().color(QPalette::Window), QColor(Qt::yellow));
    db_.reset();
    EXPECT_EQ(list.Database(), nullptr);
}

TEST_F(MessagePanesTest, ThePrizePaneShowsAnEditedTitleOnRefresh) {
    auto directory = std::make_unique<KVDirectory>();
    uPrizeBasic pane;
    pane.SetDirectory(directory.get());
    EXPECT_EQ(pane.Directory(), directory.get());

    auto prize = std::make_shared<OrlixPrize>();
    prize->SetTitle(QStringLiteral("<i>Two</i> concert tickets"));
    pane.SetPrize(prize);
    EXPECT_EQ(pane.Prize(), prize);
    EXPECT_EQ(pane.lblPrizeTitle()->text(), QStringLiteral("<i>Two</i> concert tickets"));
    EXPECT_EQ(pane.lblPrizeTitle()->textFormat(), Qt::PlainText);

    prize->SetTitle(QStringLiteral("Signed album"));
    pane.Refresh();
    EXPECT_EQ(pane.lblPrizeTitle()->text(), QStringLiteral("Signed album"));
    EXPECT_EQ(pane.RefreshCount(), 1);
    pane.SetPrize(nullptr);
    EXPECT_EQ(pane.lblPrizeTitle()->text(), QString());

    expectFontFollowed(pane);
    expectBackColourShown(pane);
    directory.reset();
    EXPECT_EQ(pane.Directory(), nullptr);
}
