// What each fixture message reads as: the fields a window shows, for the kinds of mail that
// listeners' mail programs send, well-formed or not.

#include "mimefixtures.h"
#include "platform/mime/mimemessage.h"

#include <gtest/gtest.h>

namespace {

struct FixtureCase {
    const char* file;
    const char* from;
    const char* to;
    const char* cc;
    const char* subject;
    const char* text;
    const char* html; // a part the HTML body must contain; "" = no HTML body
    QStringList attachments;
};

void PrintTo(const FixtureCase& c, std::ostream* os) {
    *os << c.file;
}

const FixtureCase kCases[] = {
    {"plain-text.eml",
     "Ann Listener <ann@example.org>",
     "Studio <studio@radio.example>",
     "",
     "Request for Friday",
     "Hello studio,\nplease play something by the band.\n\nAnn\n",
     "",
     {}},
    {"html-only.eml",
     "news@example.net",
     "studio@radio.example",
     "",
     "Newsletter",
     "",
     "<p>Caf\u00e9 <b>news</b></p>",
     {}},
    {"multipart-alternative.eml",
     "\"Bob, the listener\" <bob@example.org>",
     "studio@radio.example,Night Show <night@radio.example>",
     "carol@example.org",
     "Both kinds",
     "Good morning \u2013 plain version.\nSecond line.",
     "<p>Good morning \u2013 <i>HTML</i>",
     {}},
    {"attachments-rfc2231-names.eml",
     "dave@example.org",
     "studio@radio.example",
     "",
     "Photos",
     "See the files.",
     "",
     {QStringLiteral("M\u00fcnchen Konzert.png"), QStringLiteral("\u20ac long name part two.txt"),
      QStringLiteral("../../etc/passwd"), QString()}},
    {"encoded-subject-latin1-q.eml",
     "J\u00f6rg M\u00fcller <joerg@example.de>",
     "studio@radio.example",
     "",
     "Gr\u00fc\u00dfe aus K\u00f6ln",
     "Sch\u00f6nen Tag!\n",
     "",
     {}},
    {"encoded-subject-utf8-b.eml",
     "\u0141ukasz \u017by\u0142ka <lukasz@example.pl>",
     "studio@radio.example",
     "",
     "Za\u017c\u00f3\u0142\u0107 g\u0119\u015bl\u0105 ja\u017a\u0144",
     "Za\u017c\u00f3\u0142\u0107 g\u0119\u015bl\u0105 ja\u017a\u0144\n",
     "",
     {}},
    {"encoded-subject-koi8r.eml",
     "ivan@example.ru",
     "studio@radio.example",
     "",
     "\u041f\u0440\u0438\u0432\u0435\u0442 \u043c\u0438\u0440",
     "\u041f\u0440\u0438\u0432\u0435\u0442\n",
     "",
     {}},
    {"missing-charset.eml",
     "eve@example.org",
     "studio@radio.example",
     "",
     "No charset",
     "Gr\u00fc\u00dfe \u2013 sent without a charset\n",
     "",
     {}},
    {"missing-charset-windows-1252-bytes.eml",
     "gina@example.org",
     "studio@radio.example",
     "",
     "Latin bytes, no charset",
     "caf\u00e9 \u20ac 5\n",
     "",
     {}},
    {"windows-1252-body.eml",
     "frank@example.org",
     "studio@radio.example",
     "",
     "Smart quotes",
     "\u201cQuoted\u201d costs \u20ac10 \u2013 caf\u00e9\n",
     "",
     {}},
    {"raw-8bit-headers.eml",
     "Zo\u00eb <zoe@example.org>",
     "studio@radio.example",
     "",
     "\u00dcn\u00efc\u00f6d\u00e9 without encoding",
     "Straight UTF-8.\n",
     "",
     {}},
    {"sms.eml",
     "07700 900123",
     "Radio Studio <81234>",
     "",
     "Play my song please",
     "Play my song please",
     "",
     {}},
    {"empty.eml", "", "", "", "", "", "", {}},
};

class FixtureMessages : public ::testing::TestWithParam<FixtureCase> {};

void ExpectFields(const MimeMessage& message, const FixtureCase& c) {
    EXPECT_EQ(message.From(), QString::fromUtf8(c.from));
    EXPECT_EQ(message.To(), QString::fromUtf8(c.to));
    EXPECT_EQ(message.CC(), QString::fromUtf8(c.cc));
    EXPECT_EQ(message.Subject(), QString::fromUtf8(c.subject));
    EXPECT_EQ(message.TextBody(), QString::fromUtf8(c.text));
    const QString html = QString::fromUtf8(c.html);
    if (html.isEmpty()) {
        EXPECT_EQ(message.HTMLBody(), QString());
    } else {
        EXPECT_TRUE(message.HTMLBody().contains(html)) << message.HTMLBody().toStdString();
    }
    QStringList names;
    for (int n = 1; n <= message.Attachments().Count(); ++n) {
        names += message.Attachments().Item(n).FileName();
    }
    EXPECT_EQ(names, c.attachments);
}

TEST_P(FixtureMessages, ReadsTheFieldsItCarries) {
    const FixtureCase& c = GetParam();
    ExpectFields(MimeMessage::FromBytes(FixtureBytes(QString::fromLatin1(c.file))), c);
}

TEST_P(FixtureMessages, WrittenBackReadsTheSame) {
    const FixtureCase& c = GetParam();
    MimeMessage message = MimeMessage::FromBytes(FixtureBytes(QString::fromLatin1(c.file)));
    // A change and its undoing make the message write itself instead of handing back the bytes.
    const QString subject = message.Subject();
    message.SetSubject(QStringLiteral("changed"));
    message.SetSubject(subject);
    const QByteArray written = message.ToBytes();
    ExpectFields(MimeMessage::FromBytes(written), c);
}

INSTANTIATE_TEST_SUITE_P(Mime, FixtureMessages, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<FixtureCase>& info) {
                             std::string name = info.param.file;
                             name = name.substr(0, name.find('.'));
                             for (char& ch : name) {
                                 if (ch == '-') {
                                     ch = '_';
                                 }
                             }
                             return name;
                         });

TEST(FixtureMessages, UnchangedMessageGivesBackItsBytes) {
    const QByteArray bytes = FixtureBytes(QStringLiteral("header-without-colon.eml"));
    EXPECT_EQ(MimeMessage::FromBytes(bytes).ToBytes(), bytes);
}

// The damaged messages open with what could be read, and say in the log what was wrong.
TEST(FixtureMessages, BrokenBoundaryOpensWithItsText) {
    CapturedPlatformLog log;
    const MimeMessage message =
        MimeMessage::FromBytes(FixtureBytes(QStringLiteral("broken-boundary.eml")));
    EXPECT_EQ(message.Subject(), QStringLiteral("Broken boundary"));
    EXPECT_EQ(message.From(), QStringLiteral("hank@example.org"));
    // The declared boundary never comes, so no part is found: all there is stands before it,
    // and is shown as the text.
    EXPECT_TRUE(message.TextBody().contains(
        QStringLiteral("This part is behind a boundary that was never declared.")))
        << message.TextBody().toStdString();
    EXPECT_EQ(message.HTMLBody(), QString());
    EXPECT_EQ(message.Attachments().Count(), 0);
    EXPECT_TRUE(log.Contains(QStringLiteral("no part was found")))
        << log.Lines().join(u'\n').toStdString();
}

TEST(FixtureMessages, DeeplyNestedPartsStopAtTheLimitWithALogLine) {
    CapturedPlatformLog log;
    const MimeMessage message =
        MimeMessage::FromBytes(FixtureBytes(QStringLiteral("deeply-nested.eml")));
    EXPECT_EQ(message.Subject(), QStringLiteral("Deeply nested"));
    EXPECT_EQ(message.TextBody(), QString());
    EXPECT_TRUE(log.Contains(QStringLiteral("nested deeper than 32 levels")))
        << log.Lines().join(u'\n').toStdString();
}

TEST(FixtureMessages, HeaderWithoutColonKeepsTheHeadersBeforeIt) {
    CapturedPlatformLog log;
    const MimeMessage message =
        MimeMessage::FromBytes(FixtureBytes(QStringLiteral("header-without-colon.eml")));
    EXPECT_EQ(message.From(), QStringLiteral("jack@example.org"));
    EXPECT_EQ(message.To(), QStringLiteral("studio@radio.example"));
}

} // namespace
