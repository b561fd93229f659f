// Setting every field, writing the message and reading it back gives the same fields; header
// fields never carry a line break; what other programs left in our private headers is checked.

#include "mimefixtures.h"
#include "platform/mime/mimelimits.h"
#include "platform/mime/mimemessage.h"
#include "support/testhome.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

MimeMessage ReadBack(const MimeMessage& message) {
    return MimeMessage::FromBytes(message.ToBytes());
}

// The message as a program that knows nothing of our private headers reads it.
MimeMessage ReadWithoutPrivateHeaders(const QByteArray& bytes) {
    QString text = QString::fromLatin1(bytes);
    text.remove(
        QRegularExpression(QStringLiteral("X-Orlix-[A-Za-z]+:[^\r\n]*\r\n([ \t][^\r\n]*\r\n)*")));
    return MimeMessage::FromBytes(text.toLatin1());
}

class AddressTexts : public ::testing::TestWithParam<const char*> {};

TEST_P(AddressTexts, RoundTripExactlyAsSet) {
    const QString text = QString::fromUtf8(GetParam());
    MimeMessage message;
    message.SetFrom(text);
    message.SetTo(text);
    message.SetCC(text);
    EXPECT_EQ(message.From(), text);
    const MimeMessage back = ReadBack(message);
    EXPECT_EQ(back.From(), text);
    EXPECT_EQ(back.To(), text);
    EXPECT_EQ(back.CC(), text);
}

INSTANTIATE_TEST_SUITE_P(
    Mime, AddressTexts,
    ::testing::Values("\"Radio Orlix\" <studio@radio.example>", "ann@example.org",
                      "\"Smith, Ann\" <ann@example.org>,bob@example.org",
                      "Ann <ann@example.org>, Bob <bob@example.org>", "07700 900123",
                      "+44 7700 900123,07700 900456", "J\u00f6rg M\u00fcller <joerg@example.de>",
                      "half-typed <", "  blanks around  ", "\"\u65e5\u672c\" <jp@example.jp>", ""));

TEST(MimeAddresses, MailboxTextsStandInTheRealHeaders) {
    MimeMessage message;
    message.SetTo(QStringLiteral("\"Smith, Ann\" <ann@example.org>,bob@example.org"));
    message.SetFrom(QStringLiteral("J\u00f6rg M\u00fcller <joerg@example.de>"));
    const MimeMessage other = ReadWithoutPrivateHeaders(message.ToBytes());
    // The comma inside the quoted name did not split the first address.
    EXPECT_EQ(other.To(), QStringLiteral("\"Smith, Ann\" <ann@example.org>,bob@example.org"));
    EXPECT_EQ(other.From(), QStringLiteral("J\u00f6rg M\u00fcller <joerg@example.de>"));
    EXPECT_FALSE(message.ToBytes().contains("\xc3\xb6")) << "header text is encoded";
}

TEST(MimeAddresses, SmsNumbersAreKeptWhereNoMailboxCanHoldThem) {
    MimeMessage sms;
    sms.SetFrom(QStringLiteral("\"Radio Orlix\" <81234>"));
    sms.SetTo(QStringLiteral("07700 900123"));
    sms.SetSubject(QStringLiteral("Your song is next"));
    sms.SetTextBody(QStringLiteral("Your song is next"));
    const MimeMessage back = ReadBack(sms);
    EXPECT_EQ(back.From(), QStringLiteral("\"Radio Orlix\" <81234>"));
    EXPECT_EQ(back.To(), QStringLiteral("07700 900123"));
    EXPECT_EQ(back.Subject(), back.TextBody());
}

TEST(MimeAddresses, AForgedPrivateHeaderIsIgnored) {
    const QByteArray bytes = "From: evil@example.net\r\n"
                             "X-Orlix-From: =?UTF-8?Q?Station_=3Cstudio=40radio=2Eexample=3E?=\r\n"
                             "Subject: hi\r\n\r\nbody\r\n";
    EXPECT_EQ(MimeMessage::FromBytes(bytes).From(), QStringLiteral("evil@example.net"));
}

TEST(MimeAddresses, AHeaderThatIsNoAddressListStillShowsItsText) {
    const QByteArray bytes = "From: 07700 900123\r\nSubject: hi\r\n\r\nbody\r\n";
    EXPECT_EQ(MimeMessage::FromBytes(bytes).From(), QStringLiteral("07700 900123"));
}

TEST(MimeAddresses, PaddedEncodedWordsOfOneNameAreAllRead) {
    const QByteArray bytes = "From: =?UTF-8?B?SGk=?= =?UTF-8?B?dGhlcmU=?= <a@example.org>\r\n"
                             "Subject: =?UTF-8?B?SGk=?=\r\n =?UTF-8?B?dGhlcmU=?=\r\n\r\nbody\r\n";
    const MimeMessage message = MimeMessage::FromBytes(bytes);
    EXPECT_EQ(message.From(), QStringLiteral("Hithere <a@example.org>"));
    EXPECT_EQ(message.Subject(), QStringLiteral("Hithere"));
}

class Subjects : public ::testing::TestWithParam<const char*> {};

TEST_P(Subjects, RoundTripExactly) {
    const QString subject = QString::fromUtf8(GetParam());
    MimeMessage message;
    message.SetSubject(subject);
    EXPECT_EQ(message.Subject(), subject);
    EXPECT_EQ(ReadBack(message).Subject(), subject);
}

INSTANTIATE_TEST_SUITE_P(
    Mime, Subjects,
    ::testing::Values("Hello", "  leading and trailing blanks  ", "two  blanks\tand a tab",
                      "Gr\u00fc\u00dfe \u2013 \u201cquoted\u201d \u65e5\u672c\u8a9e \U0001F3B5",
                      "=?UTF-8?Q?looks_encoded?=", "RE: FW: a reply",
                      "A long subject that goes on and on, well past the length at which a "
                      "header line is folded, so that the folding must not change a single "
                      "character of it when it is read back again by this or another program",
                      ""));

TEST(MimeHeaders, LineBreaksNeverReachAHeader) {
    MimeMessage message;
    message.SetSubject(QStringLiteral("Hi\r\nBcc: victim@example.org"));
    message.SetFrom(QStringLiteral("a@example.org\nBcc: victim@example.org"));
    message.SetTo(QStringLiteral("b@example.org\r\n\r\n<html>"));
    message.SetCC(QStringLiteral("c@example.org\rX-Injected: yes"));
    EXPECT_EQ(message.Subject(), QStringLiteral("Hi Bcc: victim@example.org"));
    const QByteArray bytes = message.ToBytes();
    for (const QByteArray& line : bytes.split('\n')) {
        EXPECT_FALSE(line.startsWith("Bcc:")) << line.toStdString();
        EXPECT_FALSE(line.startsWith("X-Injected:")) << line.toStdString();
        EXPECT_FALSE(line.startsWith("<html>")) << line.toStdString();
    }
    const MimeMessage back = MimeMessage::FromBytes(bytes);
    EXPECT_EQ(back.From(), QStringLiteral("a@example.org Bcc: victim@example.org"));
    EXPECT_EQ(back.TextBody(), QString());
}

struct BodyCase {
    const char* text;
    const char* html;
    bool withAttachment;
};

void PrintTo(const BodyCase& c, std::ostream* os) {
    *os << c.text << " | " << c.html << (c.withAttachment ? " | attachment" : "");
}

class Bodies : public ::testing::TestWithParam<BodyCase> {};

TEST_P(Bodies, RoundTripAsSet) {
    const QString text = QString::fromUtf8(GetParam().text);
    const QString html = QString::fromUtf8(GetParam().html);
    MimeMessage message;
    message.SetTextBody(text);
    message.SetHTMLBody(html);
    if (GetParam().withAttachment) {
        const QString path = TestHome() + QStringLiteral("/note.txt");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("note");
        file.close();
        ASSERT_TRUE(message.AddAttachment(path));
    }
    const MimeMessage back = ReadBack(message);
    EXPECT_EQ(back.TextBody(), text);
    EXPECT_EQ(back.HTMLBody(), html);
    EXPECT_EQ(back.Attachments().Count(), GetParam().withAttachment ? 1 : 0);
}

const BodyCase kBodies[] = {
    {"plain text\nsecond line\n", "", false},
    {"", "<p>only <b>HTML</b></p>", false},
    {"both kinds\n", "<p>both kinds</p>\n", false},
    {"no final line break", "", false},
    {"a lone\rcarriage return", "", false},
    {"", "", false},
    {"trailing blanks   \n.\nFrom the start of a line\n=3D not an escape\n", "", false},
    {"Gr\u00fc\u00dfe \u65e5\u672c\u8a9e \U0001F3B5", "<p>\u20ac</p>", false},
    {"with an attachment", "", true},
    {"", "<p>HTML and an attachment</p>", true},
    {"", "", true},
};

INSTANTIATE_TEST_SUITE_P(Mime, Bodies, ::testing::ValuesIn(kBodies));

TEST(MimeBodies, ALongLineIsKeptWhole) {
    const QString line = QString(3000, u'x') + QStringLiteral(" end\n");
    MimeMessage message;
    message.SetTextBody(line);
    EXPECT_EQ(ReadBack(message).TextBody(), line);
}

TEST(MimeMessage, EveryFieldSurvivesTheStorageForm) {
    MimeMessage message;
    message.SetFrom(QStringLiteral("\"Radio Orlix\" <studio@radio.example>"));
    message.SetTo(QStringLiteral("Ann <ann@example.org>,07700 900123"));
    message.SetCC(QStringLiteral("\"Smith, Bob\" <bob@example.org>"));
    message.SetSubject(QStringLiteral("Your prize \u2013 tickets"));
    message.SetTextBody(QStringLiteral("Well done!\n"));
    message.SetHTMLBody(QStringLiteral("<p>Well done!</p>"));
    const MimeMessage back = ReadBack(message);
    EXPECT_EQ(back.From(), message.From());
    EXPECT_EQ(back.To(), message.To());
    EXPECT_EQ(back.CC(), message.CC());
    EXPECT_EQ(back.Subject(), message.Subject());
    EXPECT_EQ(back.TextBody(), message.TextBody());
    EXPECT_EQ(back.HTMLBody(), message.HTMLBody());
    EXPECT_FALSE(message.ToBytes().contains("\r\nDate:")) << "a new message carries no date";
    EXPECT_TRUE(message.ToBytes().contains("MIME-Version: 1.0"));
}

TEST(MimeMessage, SettingTheSameValuesKeepsTheBytes) {
    const QByteArray bytes = FixtureBytes(QStringLiteral("multipart-alternative.eml"));
    MimeMessage message = MimeMessage::FromBytes(bytes);
    message.SetFrom(message.From());
    message.SetTo(message.To());
    message.SetSubject(message.Subject());
    message.SetTextBody(message.TextBody());
    message.SetHTMLBody(message.HTMLBody());
    EXPECT_EQ(message.ToBytes(), bytes);
}

TEST(MimeMessage, ACopyIsIndependent) {
    MimeMessage original;
    original.SetSubject(QStringLiteral("original"));
    MimeMessage copy = original;
    copy.SetSubject(QStringLiteral("copy"));
    EXPECT_EQ(original.Subject(), QStringLiteral("original"));
    EXPECT_EQ(copy.Subject(), QStringLiteral("copy"));
}

TEST(MimeLimits, OnlyTheFirstPartsAreRead) {
    CapturedPlatformLog log;
    QByteArray bytes = "Subject: many\r\nContent-Type: multipart/mixed; boundary=\"b\"\r\n\r\n";
    for (int i = 0; i < mime::kMaxParts + 20; ++i) {
        bytes += "--b\r\nContent-Type: application/octet-stream\r\n\r\nx\r\n";
    }
    bytes += "--b--\r\n";
    const MimeMessage message = MimeMessage::FromBytes(bytes);
    EXPECT_EQ(message.Subject(), QStringLiteral("many"));
    EXPECT_EQ(message.Attachments().Count(), mime::kMaxParts);
    EXPECT_TRUE(log.Contains(QStringLiteral("only the first 500 parts were read")));
}

TEST(MimeLimits, AnOversizedMessageOpensWithItsStartAndKeepsItsBytes) {
    CapturedPlatformLog log;
    QByteArray bytes = "Subject: huge\r\nContent-Type: text/plain\r\n\r\n";
    bytes += QByteArray(mime::kMaxMessageBytes, 'x');
    const MimeMessage message = MimeMessage::FromBytes(bytes);
    EXPECT_EQ(message.Subject(), QStringLiteral("huge"));
    EXPECT_LE(message.TextBody().size(), mime::kMaxPartBytes);
    EXPECT_EQ(message.ToBytes().size(), bytes.size());
    EXPECT_TRUE(log.Contains(QStringLiteral("only the first")));
    EXPECT_TRUE(log.Contains(QStringLiteral("was cut")));
}

} // namespace
