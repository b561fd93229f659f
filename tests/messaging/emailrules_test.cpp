#include "messaging/emailrules.h"

#include "platform/messagesdb/orlixmessage.h"
#include "platform/mime/mimemessage.h"

#include <gtest/gtest.h>

using namespace emailrules;

namespace {

struct AddressCase {
    const char* text;
    QList<AddressEntry> entries;
};

TEST(EmailRules, ParseAddressListSplitsOnlyOutsideQuotes) {
    const AddressCase cases[] = {
        {"", {}},
        {"ann@example.org", {{"", "ann@example.org"}}},
        {"Ann <ann@example.org>", {{"Ann", "<ann@example.org>"}}},
        {"\"Smith, Ann\" <ann@example.org>", {{"\"Smith, Ann\"", "<ann@example.org>"}}},
        {"a@x.org, Bob <b@x.org>,c@x.org",
         {{"", "a@x.org"}, {"Bob", "<b@x.org>"}, {"", "c@x.org"}}},
        {"<a@x.org>", {{"", "<a@x.org>"}}},
        {"\"a <odd>\" <a@x.org>", {{"\"a <odd>\"", "<a@x.org>"}}},
        {" , ,", {}},
    };
    for (const AddressCase& c : cases) {
        EXPECT_EQ(ParseAddressList(QString::fromUtf8(c.text)), c.entries) << c.text;
    }
}

TEST(EmailRules, StationSenderAndFirstEmail) {
    EXPECT_EQ(StationSender("Studio", "studio@localhost"), "\"Studio\" <studio@localhost>");
    EXPECT_EQ(FirstEmail("", "two@x.org", "three@x.org"), "two@x.org");
    EXPECT_EQ(FirstEmail("one@x.org", "two@x.org", ""), "one@x.org");
    EXPECT_EQ(FirstEmail("", "", ""), "");
}

TEST(EmailRules, SendChecks) {
    const struct {
        const char* to;
        const char* subject;
        const char* body;
        SendCheck expected;
    } cases[] = {
        {"", "Hi", "text", SendCheck::NoRecipient}, {"   ", "Hi", "text", SendCheck::NoRecipient},
        {"a@x.org", "", "", SendCheck::AskEmpty},   {"a@x.org", "  ", " \n ", SendCheck::AskEmpty},
        {"a@x.org", "Hi", "", SendCheck::Go},       {"a@x.org", "", "text", SendCheck::Go},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CheckSend(c.to, c.subject, c.body), c.expected)
            << c.to << "|" << c.subject << "|" << c.body;
    }
}

TEST(EmailRules, EveryToAndCcEntryMustBeOneMailbox) {
    const struct {
        const char* to;
        const char* cc;
        const char* refusal; // "" when Send may go on
    } cases[] = {
        {"ann@example.org", "", ""},
        {"\"Smith, Ann\" <ann@example.org>, bob@example.org", "Carol <carol@example.org>", ""},
        {"Ann <ann@example.org>", " , ", ""},
        {"Ann at example dot org", "",
         "'Ann at example dot org' in the To box is not an e-mail "
         "address!"},
        {"ann@example.org, Bob", "", "'Bob' in the To box is not an e-mail address!"},
        {"ann@example.org", "carol", "'carol' in the Cc box is not an e-mail address!"},
        {"bob", "carol", "'bob' in the To box is not an e-mail address!"},
        {"Ann <ann>", "", "'Ann <ann>' in the To box is not an e-mail address!"},
        {"ann@", "", "'ann@' in the To box is not an e-mail address!"},
        {"@example.org", "", "'@example.org' in the To box is not an e-mail address!"},
        {"Friends: ann@example.org;", "",
         "'Friends: ann@example.org;' in the To box is not an e-mail address!"},
        {"ann@example.org bob@example.org", "",
         "'ann@example.org bob@example.org' in the To box is not an e-mail address!"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AddressRefusal(QString::fromUtf8(c.to), QString::fromUtf8(c.cc)),
                  QString::fromUtf8(c.refusal))
            << c.to << " | " << c.cc;
    }
    EXPECT_EQ(CheckSend(",", "Hi", "text"), SendCheck::NoRecipient);
}

TEST(EmailRules, QueueingStampsAndFailedStorePutsEverythingBack) {
    OrlixMessage message;
    MimeMessage mime;
    mime.SetTo("a@x.org");
    mime.SetSubject("Hi");
    message.SetCDOMessage(mime);
    message.SetFolder(OrlixMessage::kNewMessagesFolder);
    message.SetFlags(OrlixMessage::FlagRead);
    const QDateTime earlier = QDateTime(QDate(2026, 1, 1), QTime(9, 0));
    message.SetSendAfterDate(earlier);

    const QDateTime now(QDate(2026, 3, 4), QTime(10, 11, 12), Qt::OffsetFromUTC, 3600);
    const QueueState before = QueueForSending(message, now);

    EXPECT_EQ(message.Folder(), OrlixMessage::kOutboxFolder);
    EXPECT_EQ(message.Flags(), OrlixMessage::FlagRead | OrlixMessage::FlagToBeSent);
    EXPECT_EQ(message.SendAfterDate(), now.addSecs(30));
    EXPECT_EQ(message.CDOMessage().Date(), now);
    EXPECT_EQ(message.CDOMessage().Date().offsetFromUtc(), 3600);
    EXPECT_TRUE(message.MessageBytes().contains("Date: "));

    RestoreQueueState(message, before);
    EXPECT_EQ(message.Folder(), OrlixMessage::kNewMessagesFolder);
    EXPECT_EQ(message.Flags(), OrlixMessage::FlagRead);
    EXPECT_EQ(message.SendAfterDate(), earlier);
    EXPECT_FALSE(message.CDOMessage().Date().isValid());
    EXPECT_FALSE(message.MessageBytes().contains("Date: "));
}

TEST(EmailRules, ListRefreshesOnlyWhenTheMessageLeftTheShownFolder) {
    const struct {
        qint32 list, oldFolder, newFolder;
        bool refresh;
    } cases[] = {
        {6, 6, 2, true},  // sent from the folder the list shows
        {2, 2, 2, false}, // already in the Outbox
        {1, 6, 2, false}, // the list shows another folder
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ListNeedsRefresh(c.list, c.oldFolder, c.newFolder), c.refresh)
            << c.list << " " << c.oldFolder << " " << c.newFolder;
    }
}

TEST(EmailRules, EditableStateAndWhatShows) {
    const QDateTime dated(QDate(2026, 1, 1), QTime(9, 0));
    const struct {
        bool dated;
        qint32 folder;
        bool sendEnabled;
        bool editable;
    } cases[] = {
        {false, 1, true, true},  {false, 6, true, true}, {true, 6, true, true},
        {true, 1, true, false},  {true, 2, true, false}, {false, 6, false, false},
        {true, 6, false, false},
    };
    for (const auto& c : cases) {
        const bool editable = EffectiveEditable(
            OpensEditable(c.dated ? dated : QDateTime(), c.folder), c.sendEnabled);
        EXPECT_EQ(editable, c.editable) << c.dated << " " << c.folder << " " << c.sendEnabled;
    }

    Visibility editable;
    editable.EditToolbar = editable.Send = editable.AddressChoosers = true;
    editable.FromChooser = true;
    EXPECT_EQ(VisibilityFor(true, true, true), editable);
    editable.FromChooser = false;
    EXPECT_EQ(VisibilityFor(true, true, false), editable);

    Visibility readOnly;
    readOnly.Answers = readOnly.AddressCaptions = readOnly.Date = readOnly.AddressLinks = true;
    EXPECT_EQ(VisibilityFor(false, true, true), readOnly);
    readOnly.Answers = false;
    EXPECT_EQ(VisibilityFor(false, false, true), readOnly);
}

TEST(EmailRules, SaveRightsByOwner) {
    EXPECT_EQ(RightToSave(0, 7), SaveRight::Messages);
    EXPECT_EQ(RightToSave(7, 7), SaveRight::PersonalMessages);
    EXPECT_EQ(RightToSave(8, 7), SaveRight::Messages); // another user's personal message
    EXPECT_EQ(RefusalText(SaveRight::Messages),
              "You do not have the nescessary Security Permissions to save Messages into the "
              "Directory");
    EXPECT_EQ(RefusalText(SaveRight::PersonalMessages),
              "You do not have the nescessary Security Permissions to save Personal Messages "
              "into the Directory");
}

TEST(EmailRules, QuestionTexts) {
    EXPECT_EQ(CloseQuestion("  Hello  "),
              "Do you want to save the changes you made to the Message 'Hello'?");
    EXPECT_EQ(CloseQuestion("   "), "Do you want to save the changes you made to this Message?");
    EXPECT_EQ(EmptySendQuestion(),
              "You have not entered a Subject or any text in the message itself\n\nAre you "
              "sure you want to send this message?");
}

TEST(EmailRules, CascadeStepsAndStartsAgainNearTheMainWindowsEdges) {
    const TwipsRect main{1000, 2000, 20000, 15000};
    const struct {
        TwipsRect last;
        TwipsRect next;
    } cases[] = {
        {{1500, 2500, 11000, 7000}, {1755, 2755, 11000, 7000}},
        // bottom within 500 of the main window's bottom: top starts again
        {{1500, 9500, 11000, 7000}, {1755, 2500, 11000, 7000}},
        // right edge within 500: left starts again, top goes on
        {{9500, 2500, 11000, 7000}, {1500, 2755, 11000, 7000}},
        {{9500, 9500, 11000, 7000}, {1500, 2500, 11000, 7000}},
        // one twip short of the margin still steps on
        {{1500, 9499, 11000, 7000}, {1755, 9754, 11000, 7000}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Cascade(c.last, main), c.next) << c.last.Left << "," << c.last.Top;
    }
}

TEST(EmailRules, PlacedWindowsLieWholeOnTheScreenFrameIncluded) {
    // A screen of 24000 x 15000 twips (1600 x 1000 pixels), the main window reaching past its
    // right and bottom edges, frames of 60 twips with a 450 twip title bar.
    const TwipsRect screen{0, 0, 24000, 15000};
    const TwipsRect main{1000, 1000, 24000, 15000};
    const TwipsMargins frame{60, 450, 60, 60};
    const TwipsRect design{0, 0, 11010, 6810};
    const struct {
        const char* what;
        std::optional<TwipsRect> last;
        TwipsRect screen;
        TwipsRect next;
    } cases[] = {
        {"no stored position: the main window's top left + 500",
         std::nullopt,
         screen,
         {1560, 1950, 11010, 6810}},
        {"a cascade that fits",
         TwipsRect{2000, 2000, 11010, 6810},
         screen,
         {2255, 2255, 11010, 6810}},
        {"the frame would pass the bottom: the top starts again",
         TwipsRect{2000, 8000, 11010, 6810},
         screen,
         {2255, 1950, 11010, 6810}},
        {"the frame would pass the right: the left starts again",
         TwipsRect{12800, 2000, 11010, 6810},
         screen,
         {1560, 2255, 11010, 6810}},
        {"within the frame's width of the edge counts as passing it",
         TwipsRect{12700, 2000, 11010, 6810},
         screen,
         {1560, 2255, 11010, 6810}},
        {"above the screen",
         TwipsRect{2000, -3000, 11010, 6810},
         screen,
         {2255, 1950, 11010, 6810}},
        {"larger than the screen keeps its top left on it",
         TwipsRect{2000, 2000, 30000, 20000},
         screen,
         {60, 450, 30000, 20000}},
        {"a restart that would still pass the edge is pulled back",
         TwipsRect{2000, -1000, 11010, 10000},
         TwipsRect{0, 0, 24000, 12000},
         {2255, 1940, 11010, 10000}},
    };
    for (const auto& c : cases) {
        const TwipsRect next = PlaceWindow(c.last, design, main, c.screen, frame);
        EXPECT_EQ(next, c.next) << c.what << ": " << next.Left << "," << next.Top;
        if (next.Width + 120 <= c.screen.Width && next.Height + 510 <= c.screen.Height) {
            EXPECT_GE(next.Left - frame.Left, c.screen.Left) << c.what;
            EXPECT_GE(next.Top - frame.Top, c.screen.Top) << c.what;
            EXPECT_LE(next.Left + next.Width + frame.Right, c.screen.Left + c.screen.Width)
                << c.what;
            EXPECT_LE(next.Top + next.Height + frame.Bottom, c.screen.Top + c.screen.Height)
                << c.what;
        }
    }
}

TEST(EmailRules, AnswersAreUndatedDraftsThatInheritKindAndValue) {
    OrlixMessage shown;
    MimeMessage mime;
    mime.SetFrom("Listener <l@x.org>");
    mime.SetTo("\"Studio\" <studio@localhost>, other@x.org");
    mime.SetSubject("Song");
    mime.SetTextBody("Play it");
    shown.SetCDOMessage(mime);
    shown.SetFolder(1);
    shown.SetFlags(OrlixMessage::FlagRead);
    shown.SetSentDate(QDateTime(QDate(2026, 1, 1), QTime(9, 0)));
    shown.SetReceivedDate(QDateTime(QDate(2026, 1, 1), QTime(9, 1)));
    shown.SetInheritedValue(42);

    for (Answer answer : {Answer::Reply, Answer::ReplyAll, Answer::Forward}) {
        const auto made = MakeAnswer(shown, answer, {"studio@localhost"});
        EXPECT_EQ(made->Folder(), OrlixMessage::kNewMessagesFolder);
        EXPECT_FALSE(made->SentDate().isValid());
        EXPECT_FALSE(made->ReceivedDate().isValid());
        EXPECT_EQ(made->Flags(), 0);
        EXPECT_EQ(made->Kind(), shown.Kind());
        EXPECT_EQ(made->InheritedValue(), 42);
        EXPECT_TRUE(made->Edited());
        EXPECT_EQ(made->Reference(), 0);
    }
    const auto reply = MakeAnswer(shown, Answer::Reply, {});
    EXPECT_TRUE(reply->CDOMessage().To().contains("l@x.org"));
    EXPECT_TRUE(reply->CDOMessage().Subject().startsWith("RE: "));
    const auto all = MakeAnswer(shown, Answer::ReplyAll, {"studio@localhost"});
    EXPECT_TRUE(all->CDOMessage().CC().contains("other@x.org"));
    EXPECT_FALSE(all->CDOMessage().CC().contains("studio@localhost"));
    const auto forward = MakeAnswer(shown, Answer::Forward, {});
    EXPECT_TRUE(forward->CDOMessage().To().isEmpty());
    EXPECT_TRUE(forward->CDOMessage().Subject().startsWith("FW: "));
}

} // namespace
