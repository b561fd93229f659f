// Outside text where a studio reads it: each place lays out a listener's name, address or line
// so that it reads in the order it was written, whatever direction characters or right-to-left
// letters it holds, and nothing it holds reverses or swaps the fields beside it.

#include "core/dialogs/contactchoiceline.h"
#include "mainwindow/panes/recentmenus.h"
#include "messaging/smsrules.h"
#include "platform/messagesdb/controls/umessagebasic.h"
#include "platform/messagesdb/messagemime.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/system/displaytext.h"
#include "platform/ui/uhtmlscroller.h"
#include "platform/ui/umessageaddress.h"
#include "platform/ui/utalkback.h"
#include "smswindowfixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QTextLayout>

#include <gtest/gtest.h>

namespace {
const QString kHebrew = QString::fromUtf8("\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D"); // "shalom"
// A family: man, zero-width joiner, woman, joiner, girl.
const QString kFamily =
    QString::fromUtf8("\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7");

// The characters of `visible` found in `shown` in that order, and laid out on one line of a
// left-to-right widget in `font`: each must stand right of the one before it.
::testing::AssertionResult ReadsInOrder(const QString& shown, const QString& visible,
                                        const QFont& font) {
    QList<qsizetype> at;
    qsizetype from = 0;
    for (const QChar c : visible) {
        const qsizetype i = shown.indexOf(c, from);
        if (i < 0) {
            return ::testing::AssertionFailure()
                   << "'" << QString(c).toStdString() << "' is not shown in order";
        }
        at << i;
        from = i + 1;
    }
    QTextLayout layout(shown, font);
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(100000);
    layout.endLayout();
    qreal before = -1e9;
    for (const qsizetype i : at) {
        const QList<QGlyphRun> runs = layout.glyphRuns(static_cast<int>(i), 1);
        if (runs.isEmpty() || runs.front().positions().isEmpty()) {
            return ::testing::AssertionFailure() << "no glyph at " << i;
        }
        const qreal x = runs.front().positions().front().x();
        if (x <= before) {
            return ::testing::AssertionFailure()
                   << "character " << i << " is drawn left of the one before it";
        }
        before = x;
    }
    return ::testing::AssertionSuccess();
}

std::shared_ptr<OrlixMessage> emailFrom(const QString& from) {
    auto m = std::make_shared<OrlixMessage>();
    m->SetMessageBytes(BuildTextMessage(from, QStringLiteral("studio@station.example"),
                                        QStringLiteral("Request"), QStringLiteral("Hi"),
                                        QDateTime()));
    return m;
}
} // namespace

TEST(OutsideTextOrder, EveryPlaceShowsTheFieldsInTheOrderTheyWereWritten) {
    const QString overridden = QStringLiteral("\"Ctl Name\u202e\" <ctl@example.org>");
    const QString hebrewNumber = kHebrew + QStringLiteral(" <07700 900123>");

    uMessageAddress emailFromBox;
    emailFromBox.setReadOnly(true);
    emailFromBox.SetText(overridden);
    uMessageAddress hebrewBox;
    hebrewBox.setReadOnly(true);
    hebrewBox.SetText(hebrewNumber);

    QLineEdit smsFromBox;
    smsFromBox.setReadOnly(true);
    smsFromBox.setText(smsrules::ShownEntries({hebrewNumber}, true));

    TalkbackLine talk;
    talk.TimeMs = QDateTime(QDate(2026, 3, 4), QTime(9, 5)).toMSecsSinceEpoch();
    talk.Name = kHebrew;
    talk.Text = QStringLiteral("07700 900123 \u202eback");
    const QString talkLine = uTalkback::LineText(talk, QDate(2026, 3, 4));

    uMessageBasic mini;
    mini.SetMessage(emailFrom(overridden));
    const QLabel* miniFrom = mini.findChild<QLabel*>(QStringLiteral("lblFrom"));
    ASSERT_NE(miniFrom, nullptr);

    const QFont font = emailFromBox.font();
    struct Case {
        const char* place;
        QString shown;
        QString reads; // what the user must read left to right
    };
    const Case cases[] = {
        {"the e-mail From box", emailFromBox.text(), QStringLiteral("Ctl Name <ctl@example.org>")},
        {"an address box, a right-to-left name before a number", hebrewBox.text(),
         QStringLiteral("<07700 900123>")},
        {"the SMS From box", smsFromBox.text(), QStringLiteral("<07700 900123>")},
        {"the talkback line", talkLine, QStringLiteral("07700 900123 back")},
        {"the mini view's From", miniFrom->text(), QStringLiteral("Ctl Name <ctl@example.org>")},
        {"the script scroller", uHTMLScroller::ShownText(QStringLiteral("\u202eBreaking news")),
         QStringLiteral("Breaking news")},
        {"a recent entry", RecentEntryCaption(QStringLiteral("\u202eAnn Smith")),
         QStringLiteral("Ann Smith")},
        {"a chooser line, a right-to-left name and a company of digits",
         ContactChoiceLine(kHebrew, QStringLiteral("07700 900123")),
         QStringLiteral("(07700 900123)")},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(ReadsInOrder(c.shown, c.reads, font)) << c.place;
        for (const QChar ch : c.shown) {
            EXPECT_FALSE(ch.unicode() >= 0x202A && ch.unicode() <= 0x202E) << c.place;
        }
    }

    // Emoji joined by zero-width joiners stay one picture where the text is shown.
    TalkbackLine family = talk;
    family.Text = kFamily;
    EXPECT_TRUE(uTalkback::LineText(family, QDate(2026, 3, 4)).contains(kFamily));
    EXPECT_TRUE(RecentEntryCaption(kFamily).contains(kFamily));
    EXPECT_TRUE(uHTMLScroller::ShownText(kFamily).contains(kFamily));
}

// The SMS window shows a Hebrew sender isolated; its reply stores the number without a mark.
TEST_F(SmsWindow, AReplyToAnIsolatedSenderStoresNoMark) {
    const QString sender = kHebrew + QStringLiteral(" <07700 900123>");
    frmSMSMessage* window = open(received(sender));
    ASSERT_NE(window, nullptr);
    ASSERT_FALSE(window->Editable());
    EXPECT_TRUE(ReadsInOrder(window->ctlFrom()->text(), QStringLiteral("<07700 900123>"),
                             window->ctlFrom()->font()));
    window->cmdReply()->click();
    const QList<frmSMSMessage*> open = windows();
    ASSERT_EQ(open.size(), 1);
    frmSMSMessage* draft = open.first();
    const QString to = draft->Message()->CDOMessage().To();
    EXPECT_EQ(to, DisplayText::Cleaned(to));
    EXPECT_TRUE(to.contains(QStringLiteral("07700 900123"))) << to.toStdString();
    EXPECT_EQ(draft->ctlTo()->text(), DisplayText::Cleaned(draft->ctlTo()->text()))
        << "the draft's box is edited: cleaned only";
    TestMessageBoxes().queue(MsgResult::No);
    ASSERT_TRUE(Forms::Unload(draft));
}
