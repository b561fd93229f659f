#include "messaging/smsrules.h"

#include "platform/messagesdb/messagemime.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/mime/mimemessage.h"

#include <QMap>

#include <gtest/gtest.h>

namespace {

TEST(SmsRules, StationSenderNeedsANumber) {
    EXPECT_EQ(smsrules::StationSender("Radio Kestova", "07700 900100"),
              "\"Radio Kestova\" <07700 900100>");
    for (const char* blank : {"", "   "}) {
        EXPECT_EQ(smsrules::StationSender("Radio Kestova", blank), "") << blank;
    }
}

TEST(SmsRules, FirstPhoneNumberPrefersTheMobile) {
    const struct {
        const char* mobile;
        const char* phone1;
        const char* phone2;
        const char* used;
    } cases[] = {
        {"077", "011", "022", "077"},
        {"", "011", "022", "011"},
        {"", "", "022", "022"},
        {"", "", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(smsrules::FirstPhoneNumber(c.mobile, c.phone1, c.phone2), c.used) << c.used;
    }
}

TEST(SmsRules, NameRepeatsNumberComparesWithoutPunctuation) {
    const struct {
        const char* name;
        const char* number;
        bool repeats;
    } cases[] = {
        {"", "<07700900123>", true},
        {"07700 900123", "<07700900123>", true},
        {"\"(0770) 090.0123\"", "<0770-0900123>", true},
        {"Studio 1", "<1>", false},
        {"Ann", "<07700900123>", false},
        {"0770090012", "<07700900123>", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(smsrules::NameRepeatsNumber(c.name, c.number), c.repeats) << c.name;
    }
}

TEST(SmsRules, FillNamesOnlyForBareNumbersAndRepeatedOnes) {
    const QMap<QString, QString> directory = {{"07700900123", "Smith, John"},
                                              {"07700900456", "Ann"}};
    const auto lookup = [&](const QString& number) { return directory.value(number); };
    const struct {
        const char* text;
        const char* entries;
        bool filled;
    } cases[] = {
        {"07700900123", "\"Smith, John\" <07700900123>", true},
        {"07700 900123 <07700900123>", "\"Smith, John\" <07700900123>", true},
        {"Bob <07700900123>", "Bob <07700900123>", false},
        {"\"Smith, John\" <07700900999>", "\"Smith, John\" <07700900999>", false},
        {"07700900999", "07700900999", false},
        {"Bob <07700900123>, 07700900456", "Bob <07700900123>, Ann <07700900456>", true},
        {"", "", false},
    };
    for (const auto& c : cases) {
        const smsrules::FilledAddresses filled = smsrules::FillNames(c.text, lookup);
        EXPECT_EQ(smsrules::JoinEntries(filled.Entries), c.entries) << c.text;
        EXPECT_EQ(filled.NamesFilled, c.filled) << c.text;
    }
}

TEST(SmsRules, MaskedEntriesAndEntryPositions) {
    EXPECT_EQ(smsrules::MaskedEntry(""), "0XXX-XXXXXX");
    EXPECT_EQ(smsrules::MaskedEntry("Ann"), "Ann <0XXX-XXXXXX>");
    EXPECT_EQ(smsrules::MaskedEntry("Smith, John"), "\"Smith, John\" <0XXX-XXXXXX>");
    const QString text = QStringLiteral("\"Smith, John\" <077>, Ann <078>");
    const struct {
        int position;
        int index;
    } cases[] = {{0, 0}, {19, 0}, {22, 1}, {static_cast<int>(text.size()), 1}, {99, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(smsrules::EntryIndexAt(text, c.position), c.index) << c.position;
    }
    EXPECT_EQ(smsrules::NameOfEntry("\"Smith, John\" <077>"), "Smith, John");
    EXPECT_EQ(smsrules::NameOfEntry("077"), "");
}

TEST(SmsRules, SendChecksTheRealRecipientsAndTheText) {
    const struct {
        const char* to;
        const char* text;
        smsrules::SendCheck check;
    } cases[] = {
        {"", "Hi", smsrules::SendCheck::NoRecipient},
        {"   ", "Hi", smsrules::SendCheck::NoRecipient},
        {"077", "  ", smsrules::SendCheck::NoText},
        {"077", "", smsrules::SendCheck::NoText},
        {"077", "Hi", smsrules::SendCheck::Go},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(smsrules::CheckSend(c.to, c.text), c.check) << c.to << "|" << c.text;
    }
}

TEST(SmsRules, ReplyStartsEmptyAndForwardCarriesTheText) {
    OrlixMessage shown;
    MimeMessage mime;
    mime.SetFrom(QStringLiteral("07700900123"));
    mime.SetTo(QStringLiteral("\"Studio\" <07700900100>"));
    mime.SetSubject(QStringLiteral("Play my song"));
    mime.SetTextBody(QStringLiteral("Play my song"));
    shown.SetCDOMessage(mime);
    shown.SetKind(OrlixMessage::KindSms);
    shown.SetInheritedValue(42);
    shown.SetFolder(3);
    shown.SetFlags(OrlixMessage::FlagRead);
    shown.SetSentDate(QDateTime::currentDateTime());
    for (const bool forward : {false, true}) {
        const auto made = smsrules::MakeAnswer(shown, forward);
        const MimeMessage answer = made->CDOMessage();
        const QString text = forward ? QStringLiteral("Play my song") : QString();
        EXPECT_EQ(answer.TextBody(), text) << forward;
        EXPECT_EQ(answer.Subject(), text) << forward;
        EXPECT_EQ(answer.HTMLBody(), "") << forward;
        EXPECT_EQ(made->Folder(), OrlixMessage::kNewMessagesFolder);
        EXPECT_EQ(made->Flags(), 0);
        EXPECT_EQ(made->Kind(), OrlixMessage::KindSms);
        EXPECT_EQ(made->InheritedValue(), 42);
        EXPECT_FALSE(made->SentDate().isValid());
        EXPECT_FALSE(made->ReceivedDate().isValid());
        EXPECT_EQ(answer.To().contains("07700900123"), !forward);
    }
}

TEST(SmsRules, AForwardTakesTheTextWithoutTheLineBreakOfOlderImports) {
    const QString text = QStringLiteral("Traffic jam on the ring road, avoid junction 4!");
    const QByteArray older = "From: +44 7700 900123\r\nSubject: \r\nMIME-Version: 1.0\r\n"
                             "Content-Type: text/plain; charset=utf-8\r\n\r\n" +
                             text.toUtf8() + "\r\n";
    const QByteArray now = BuildTextMessage(QStringLiteral("+44 7700 900123"), QString(), text,
                                            text, QDateTime::currentDateTimeUtc());
    for (const QByteArray& bytes : {older, now}) {
        OrlixMessage shown;
        shown.SetKind(OrlixMessage::KindSms);
        shown.SetMessageBytes(bytes);
        const MimeMessage forward = smsrules::MakeAnswer(shown, true)->CDOMessage();
        EXPECT_EQ(forward.Subject(), text) << bytes.toStdString();
        EXPECT_EQ(forward.TextBody(), text) << bytes.toStdString();
    }
    // The text is stored as it was given, with no line break added.
    EXPECT_EQ(MimeMessage::FromBytes(now).TextBody(), text);
}

TEST(SmsRules, PlacementTextRoundTripsAndRefusesDamage) {
    const emailrules::TwipsRect rect{120, 240, 6000, 3000};
    EXPECT_EQ(smsrules::ParsePlacementText(smsrules::PlacementText(rect)), rect);
    for (const char* bad : {"", "1,2,3", "1,2,x,4", "1,2,0,4", "1,2,3,4,5"}) {
        EXPECT_FALSE(smsrules::ParsePlacementText(bad)) << bad;
    }
}

} // namespace
