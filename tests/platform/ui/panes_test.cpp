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
    // On one line: the line break shows as a blank.
    EXPECT_EQ(scroller.lblText()->text(),
              QStringLiteral("\u2068<h1>Traffic</h1> <script>alert(1)</script> & more\u2069"));
    EXPECT_EQ(scroller.lblText()->textFormat(), Qt::PlainText);
}

TEST(HTMLScroller, ShowsOneLineAndAtMostAThousandCharacters) {
    // One isolated field: the override and the early end of isolate go.
    EXPECT_EQ(uHTMLScroller::ShownText(QStringLiteral("a\r\nb\tc\x01"
                                                      "d\u2028e\u202e\u2069")),
              QStringLiteral("\u2068a  b c d e\u2069"));
    uHTMLScroller scroller;
    const QString longText = QString(5000, QLatin1Char('x')) + QStringLiteral("end");
    scroller.SetText(longText);
    EXPECT_EQ(scroller.Text(), longText) << "the whole text is kept";
    EXPECT_EQ(scroller.lblText()->text().size(), uHTMLScroller::kMostShown + 2)
        << "at most the limit between the two isolate marks";
    EXPECT_FALSE(scroller.lblText()->wordWrap());
}

TEST(HTMLScroller, MovesOnlyWhileShownAndWiderThanItsStrip) {
    QWidget window;
    window.resize(400, 100);
    auto* scroller = new uHTMLScroller(&window);
    scroller->setGeometry(0, 0, 200, 30);
    window.show();
    scroller->SetText(QStringLiteral("Short"));
    EXPECT_FALSE(scroller->Scrolling()) << "a text that fits stands still";
    const int still = scroller->lblText()->x();
    scroller->Step();
    EXPECT_EQ(scroller->lblText()->x(), still);

    scroller->SetText(QString(300, QLatin1Char('W')));
    EXPECT_TRUE(scroller->Scrolling());
    const int before = scroller->lblText()->x();
    scroller->Step();
    EXPECT_LT(scroller->lblText()->x(), before) << "moves sideways";

    scroller->hide();
    EXPECT_FALSE(scroller->Scrolling()) << "no timer while hidden";
    scroller->show();
    EXPECT_TRUE(scroller->Scrolling());
    scroller->resize(5000, 30);
    EXPECT_FALSE(scroller->Scrolling()) << "wide enough again: still";
    scroller->resize(200, 30);
    EXPECT_TRUE(scroller->Scrolling());
    scroller->SetText(QString());
    EXPECT_FALSE(scroller->Scrolling());
}
