// A listener's message cannot carry the program's private headers into the store: they are
// taken out of received bytes, and nothing else of those bytes changes.

#include "platform/mime/mimemessage.h"
#include "platform/mime/privateheaders.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct ForgedCase {
    const char* name;
    QByteArray received;
    QByteArray stored;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const ForgedCase& c, std::ostream* os) {
    *os << c.name;
}

class ReceivedPrivateHeaders : public ::testing::TestWithParam<ForgedCase> {};

TEST_P(ReceivedPrivateHeaders, AreTakenOutAndNothingElse) {
    const QByteArray stored = mime::WithoutPrivateHeaders(GetParam().received);
    EXPECT_EQ(stored, GetParam().stored);
    const MimeMessage message = MimeMessage::FromBytes(stored);
    EXPECT_FALSE(message.From().contains(QStringLiteral("Studio"))) << message.From().toStdString();
    EXPECT_FALSE(message.To().contains(QStringLiteral("Studio"))) << message.To().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Forged, ReceivedPrivateHeaders,
    ::testing::Values(
        ForgedCase{"SenderWithoutFrom",
                   "X-Orlix-From: =?UTF-8?Q?Radio_Orlix_Studio_Manager?=\r\n"
                   "To: studio@radio.example\r\nSubject: hi\r\n\r\nbody\r\n",
                   "To: studio@radio.example\r\nSubject: hi\r\n\r\nbody\r\n"},
        ForgedCase{"RecipientWithoutTo",
                   "From: ann@example.org\r\nX-Orlix-To: Radio Orlix Studio Manager\r\n"
                   "X-Orlix-Cc: Studio\r\n\r\nbody\r\n",
                   "From: ann@example.org\r\n\r\nbody\r\n"},
        ForgedCase{"AnyCaseBlankBeforeColonAndFolded",
                   "x-ORLIX-from : Radio Orlix\r\n Studio Manager\r\n\tmore\r\n"
                   "Subject: hi\r\n  folded subject\r\n\r\nbody\r\n",
                   "Subject: hi\r\n  folded subject\r\n\r\nbody\r\n"},
        ForgedCase{"LineFeedsOnly",
                   "Subject: hi\nX-Orlix-From: Studio\nX-Orlix-Anything: x\n\nbody\n",
                   "Subject: hi\n\nbody\n"},
        ForgedCase{"LastLineWithoutEnd", "Subject: hi\r\nX-Orlix-From: Studio", "Subject: hi\r\n"},
        ForgedCase{"BodyTextIsKept",
                   "From: ann@example.org\r\n\r\nX-Orlix-From: Studio is what I wrote\r\n",
                   "From: ann@example.org\r\n\r\nX-Orlix-From: Studio is what I wrote\r\n"},
        ForgedCase{"LookalikeNamesAreKept",
                   "X-Orlix: a\r\nX-OrlixFrom: b\r\nFrom: ann@example.org\r\n\r\nx\r\n",
                   "X-Orlix: a\r\nX-OrlixFrom: b\r\nFrom: ann@example.org\r\n\r\nx\r\n"},
        ForgedCase{"NothingPrivate", "From: ann@example.org\r\nSubject: x-orlix-from\r\n\r\nx",
                   "From: ann@example.org\r\nSubject: x-orlix-from\r\n\r\nx"},
        ForgedCase{"Empty", "", ""}),
    [](const ::testing::TestParamInfo<ForgedCase>& info) { return info.param.name; });

TEST(ReceivedPrivateHeaders, WhereTheParserReadsHeadersPastALineTheyAreStillTakenOut) {
    // A mailbox separator line has no colon, yet the parser reads the headers after it.
    const QByteArray received = "From listener\r\n"
                                "X-Orlix-From: Radio Orlix Studio Manager\r\n"
                                "Subject: hi\r\n"
                                "\r\n"
                                "body\r\n";
    ASSERT_EQ(MimeMessage::FromBytes(received).From(),
              QStringLiteral("Radio Orlix Studio Manager"));
    const QByteArray stored = mime::WithoutPrivateHeaders(received);
    EXPECT_FALSE(stored.contains("X-Orlix")) << stored.toStdString();
    const MimeMessage message = MimeMessage::FromBytes(stored);
    EXPECT_EQ(message.From(), QString());
    EXPECT_EQ(message.Subject(), QStringLiteral("hi"));
    EXPECT_EQ(message.TextBody(), QStringLiteral("body\n"));
}

TEST(ReceivedPrivateHeaders, TheProgramsOwnMessageKeepsThem) {
    MimeMessage sms;
    sms.SetFrom(QStringLiteral("\"Radio Orlix\" <81234>"));
    sms.SetTo(QStringLiteral("07700 900123"));
    const QByteArray own = sms.ToBytes();
    ASSERT_TRUE(own.contains("X-Orlix-To:"));
    EXPECT_EQ(MimeMessage::FromBytes(own).To(), QStringLiteral("07700 900123"));
    EXPECT_EQ(MimeMessage::FromBytes(mime::WithoutPrivateHeaders(own)).To(), QString())
        << "received, the same bytes name nobody";
}

} // namespace
