#include "platform/directory/directorycontact.h"
#include "platform/ui/uhtmlscroller.h"
#include "platform/ui/utalkback.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <memory>

namespace {
void ExpectRunning(const uTalkback& pane, bool running) {
    EXPECT_EQ(pane.Running(), running);
    EXPECT_EQ(pane.txtInput()->isEnabled(), running);
    EXPECT_TRUE(pane.txtConversation()->isReadOnly());
}
} // namespace

TEST(TalkbackPane, StartsOnlyWithAPathAndAlwaysStops) {
    const struct {
        const char* path;
        bool runs;
    } cases[] = {{"", false}, {"   ", false}, {"/srv/studio/talkback", true}, {" x ", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        uTalkback pane;
        ExpectRunning(pane, false);
        pane.SetSimpleTalkbackPath(QString::fromUtf8(c.path));
        EXPECT_EQ(pane.SimpleTalkbackPath(), QString::fromUtf8(c.path));
        pane.StartTalkback();
        ExpectRunning(pane, c.runs);
        pane.StartTalkback(); // a second start changes nothing
        ExpectRunning(pane, c.runs);
        pane.StopTalkback();
        ExpectRunning(pane, false);
        pane.StopTalkback();
        ExpectRunning(pane, false);
    }
}

TEST(TalkbackPane, ClearingThePathStopsARunningTalkback) {
    uTalkback pane;
    pane.SetSimpleTalkbackPath(QStringLiteral("/srv/studio/talkback"));
    pane.StartTalkback();
    pane.SetSimpleTalkbackPath(QStringLiteral("/srv/other"));
    ExpectRunning(pane, true);
    pane.SetSimpleTalkbackPath(QString());
    ExpectRunning(pane, false);
}

TEST(TalkbackPane, HoldsItsUserAndShowsItsFonts) {
    uTalkback pane;
    auto user = std::make_shared<DirectoryContact>();
    pane.SetTalkbackUser(user);
    EXPECT_EQ(pane.TalkbackUser(), user);

    auto text = std::make_shared<FontStyle>();
    text->Name = QStringLiteral("Courier New");
    text->Size = 2;
    text->TextColour = 0xFF0000; // 0x00BBGGRR: blue
    text->Italic = 1;
    pane.SetTextFont(text);
    EXPECT_EQ(pane.TextFont(), text);
    EXPECT_EQ(pane.txtConversation()->font().family(), QStringLiteral("Courier New"));
    EXPECT_DOUBLE_EQ(pane.txtConversation()->font().pointSizeF(), 10);
    EXPECT_TRUE(pane.txtConversation()->font().italic());
    EXPECT_EQ(pane.txtConversation()->palette().color(QPalette::Text), QColor(0, 0, 255));

    auto areas = std::make_shared<StdFont>();
    areas->Name = QStringLiteral("Serif");
    areas->Size = 15;
    areas->Bold = true;
    pane.SetAreasFont(areas);
    EXPECT_EQ(pane.AreasFont(), areas);
    EXPECT_EQ(pane.txtInput()->font().family(), QStringLiteral("Serif"));
    EXPECT_TRUE(pane.txtInput()->font().bold());
    // The conversation keeps its own font over the areas' one.
    EXPECT_EQ(pane.txtConversation()->font().family(), QStringLiteral("Courier New"));

    text->TextColour = 0x01000000; // no colour: the usual text colour
    pane.SetTextFont(text);
    EXPECT_EQ(pane.txtConversation()->palette().color(QPalette::Text),
              pane.palette().color(QPalette::Text));
    pane.SetTextFont(nullptr);
    pane.SetAreasFont(nullptr);
    EXPECT_EQ(pane.TextFont(), nullptr);
    EXPECT_EQ(pane.txtInput()->font(), QApplication::font(pane.txtInput()));
    EXPECT_EQ(pane.txtConversation()->font(), QApplication::font(pane.txtConversation()));
}

TEST(HTMLScroller, ShowsItsTextLiterally) {
    uHTMLScroller scroller;
    const QString text = QStringLiteral("<h1>Traffic</h1>\n<script>alert(1)</script> & more");
    scroller.SetText(text);
    EXPECT_EQ(scroller.Text(), text);
    EXPECT_EQ(scroller.lblText()->text(), text);
    EXPECT_EQ(scroller.lblText()->textFormat(), Qt::PlainText);
}
