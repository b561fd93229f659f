// Reply, reply to all and forward as a mail client makes them.

#include "mimefixtures.h"
#include "platform/mime/mimemessage.h"
#include "platform/mime/replytext.h"

#include <gtest/gtest.h>

namespace {

MimeMessage Fixture(const char* name) {
    return MimeMessage::FromBytes(FixtureBytes(QString::fromLatin1(name)));
}

TEST(MimeReply, GoesToTheReplyToAndQuotesTheOriginal) {
    const MimeMessage original = Fixture("multipart-alternative.eml");
    const MimeMessage reply = original.Reply();
    EXPECT_EQ(reply.To(), QStringLiteral("Bob at home <bob.home@example.org>"));
    EXPECT_EQ(reply.CC(), QString());
    EXPECT_EQ(reply.From(), QString());
    EXPECT_EQ(reply.Subject(), QStringLiteral("RE: Both kinds"));
    EXPECT_EQ(reply.Attachments().Count(), 0);

    const QString text = reply.TextBody();
    EXPECT_TRUE(text.contains(QStringLiteral("From: \"Bob, the listener\" <bob@example.org>")));
    EXPECT_TRUE(text.contains(QStringLiteral("Sent: Wed, 09 Dec 2026 07:15:00 +0000")));
    EXPECT_TRUE(
        text.contains(QStringLiteral("> Good morning \u2013 plain version.\n> Second line.")));
    const QString html = reply.HTMLBody();
    EXPECT_TRUE(
        html.contains(QStringLiteral("&quot;Bob, the listener&quot; &lt;bob@example.org&gt;")));
    EXPECT_TRUE(html.contains(QStringLiteral("<p>Good morning \u2013 <i>HTML</i> version.</p>")));

    const QByteArray bytes = reply.ToBytes();
    EXPECT_FALSE(bytes.contains("\r\nDate:"));
    EXPECT_TRUE(bytes.contains("In-Reply-To: <alt-1@example.org>"));
}

TEST(MimeReply, WithoutReplyToGoesToTheSender) {
    EXPECT_EQ(Fixture("plain-text.eml").Reply().To(),
              QStringLiteral("Ann Listener <ann@example.org>"));
    // An SMS answers the number it came from, as it was written.
    EXPECT_EQ(Fixture("sms.eml").Reply().To(), QStringLiteral("07700 900123"));
}

TEST(MimeReply, ReplyAllCopiesTheOtherRecipientsButNotTheStation) {
    const MimeMessage reply = Fixture("multipart-alternative.eml")
                                  .ReplyAll({QStringLiteral("\"Studio\" <Studio@Radio.Example>")});
    EXPECT_EQ(reply.To(), QStringLiteral("Bob at home <bob.home@example.org>"));
    EXPECT_EQ(reply.CC(), QStringLiteral("Night Show <night@radio.example>,carol@example.org"));
    EXPECT_EQ(reply.Subject(), QStringLiteral("RE: Both kinds"));
}

TEST(MimeReply, ReplyAllNamesNobodyTwice) {
    const QByteArray bytes =
        "From: ann@example.org\r\nTo: studio@radio.example, ANN@example.org,"
        " bob@example.org\r\nCc: Bob <bob@example.org>\r\nSubject: x\r\n\r\nx\r\n";
    const MimeMessage reply =
        MimeMessage::FromBytes(bytes).ReplyAll({QStringLiteral("studio@radio.example")});
    EXPECT_EQ(reply.To(), QStringLiteral("ann@example.org"));
    EXPECT_EQ(reply.CC(), QStringLiteral("bob@example.org"));
}

TEST(MimeForward, HasNoRecipientsAndKeepsTheAttachments) {
    const MimeMessage original = Fixture("attachments-rfc2231-names.eml");
    const MimeMessage forward = original.Forward();
    EXPECT_EQ(forward.To(), QString());
    EXPECT_EQ(forward.CC(), QString());
    EXPECT_EQ(forward.From(), QString());
    EXPECT_EQ(forward.Subject(), QStringLiteral("FW: Photos"));
    ASSERT_EQ(forward.Attachments().Count(), original.Attachments().Count());
    for (int n = 1; n <= original.Attachments().Count(); ++n) {
        EXPECT_EQ(forward.Attachments().Item(n).FileName(),
                  original.Attachments().Item(n).FileName());
    }
    EXPECT_TRUE(forward.TextBody().contains(QStringLiteral("> See the files.")));
    EXPECT_FALSE(forward.ToBytes().contains("In-Reply-To:"));
    EXPECT_EQ(original.Reply().Attachments().Count(), 0);
}

TEST(MimeReply, IsIndependentOfTheOriginal) {
    const QByteArray bytes = FixtureBytes(QStringLiteral("plain-text.eml"));
    const MimeMessage original = MimeMessage::FromBytes(bytes);
    MimeMessage reply = original.Reply();
    reply.SetSubject(QStringLiteral("changed"));
    reply.SetTextBody(QStringLiteral("changed"));
    EXPECT_EQ(original.Subject(), QStringLiteral("Request for Friday"));
    EXPECT_EQ(original.ToBytes(), bytes);
}

TEST(MimeReply, AnHtmlOnlyMessageIsQuotedAsTextToo) {
    const MimeMessage reply = Fixture("html-only.eml").Reply();
    EXPECT_TRUE(reply.TextBody().contains(QStringLiteral("> Caf\u00e9 news")));
    EXPECT_FALSE(reply.HTMLBody().contains(QStringLiteral("<script")));
}

TEST(MimeReply, ListenerTextIsEscapedInTheHtmlQuote) {
    const QByteArray bytes = "From: \"<script>x</script>\" <a@example.org>\r\n"
                             "Subject: <b>bold</b>\r\n\r\n<img src=x onerror=y>\r\n";
    const QString html = MimeMessage::FromBytes(bytes).Reply().HTMLBody();
    EXPECT_FALSE(html.contains(QStringLiteral("<script>")));
    EXPECT_FALSE(html.contains(QStringLiteral("<b>bold")));
    EXPECT_FALSE(html.contains(QStringLiteral("<img")));
}

TEST(MimeReply, TheQuotedHtmlRunsAndLoadsNothing) {
    const char* const bodies[] = {
        "<p>hi</p><scr<script>x</script>ipt>alert(1)</script>",
        "<img src=\"cid:a@b\" onerror=\"alert(1)\">",
        "<a href=\"javascript:alert(1)\">x</a><a href=\"JaVaScRiPt&colon;alert(1)\">y</a>",
        "<svg onload=alert(1)><script>alert(1)</script></svg>",
    };
    for (const char* body : bodies) {
        MimeMessage original;
        original.SetFrom(QStringLiteral("ann@example.org"));
        original.SetHTMLBody(QString::fromUtf8(body));
        const QString html = MimeMessage::FromBytes(original.ToBytes()).Reply().HTMLBody();
        const QString lower = html.toLower();
        EXPECT_FALSE(lower.contains(QStringLiteral("<script"))) << html.toStdString();
        EXPECT_FALSE(lower.contains(QStringLiteral("onerror"))) << html.toStdString();
        EXPECT_FALSE(lower.contains(QStringLiteral("onload"))) << html.toStdString();
        EXPECT_FALSE(lower.contains(QStringLiteral("javascript"))) << html.toStdString();
        EXPECT_FALSE(lower.contains(QStringLiteral("<svg"))) << html.toStdString();
    }
}

struct PrefixCase {
    const char* subject;
    const char* reply;
    const char* forward;
};

void PrintTo(const PrefixCase& c, std::ostream* os) {
    *os << c.subject;
}

class SubjectPrefixes : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(SubjectPrefixes, AreAddedOnce) {
    const QString subject = QString::fromUtf8(GetParam().subject);
    EXPECT_EQ(mime::ReplySubject(subject), QString::fromUtf8(GetParam().reply));
    EXPECT_EQ(mime::ForwardSubject(subject), QString::fromUtf8(GetParam().forward));
}

const PrefixCase kPrefixes[] = {
    {"Hello", "RE: Hello", "FW: Hello"},         {"RE: Hello", "RE: Hello", "FW: RE: Hello"},
    {"Re: Hello", "Re: Hello", "FW: Re: Hello"}, {"re:Hello", "re:Hello", "FW: re:Hello"},
    {"FW: Hello", "RE: FW: Hello", "FW: Hello"}, {"Fwd: Hello", "RE: Fwd: Hello", "Fwd: Hello"},
    {"Really?", "RE: Really?", "FW: Really?"},   {"", "RE: ", "FW: "},
};

INSTANTIATE_TEST_SUITE_P(Mime, SubjectPrefixes, ::testing::ValuesIn(kPrefixes));

TEST(MimeReply, ReplyingToAReplyAddsNoSecondPrefix) {
    MimeMessage message;
    message.SetSubject(QStringLiteral("RE: Competition"));
    EXPECT_EQ(message.Reply().Subject(), QStringLiteral("RE: Competition"));
    EXPECT_EQ(message.Forward().Subject(), QStringLiteral("FW: RE: Competition"));
}

} // namespace

TEST(MimePlainText, HtmlReadsAsABrowserShowsIt) {
    const struct {
        const char* what;
        const char* html;
        const char* text;
    } cases[] = {
        {"lines", "<div>one</div><div>two</div>two b<br>three", "one\ntwo\ntwo b\nthree"},
        {"paragraphs", "<p>one</p><p>two</p>", "one\n\ntwo"},
        {"an empty line of the editor", "<div>one</div><div><br></div><div>two</div>",
         "one\n\ntwo"},
        {"headings and rules", "<h1>Title</h1>text<hr>after", "Title\n\ntext\n\nafter"},
        {"blanks", "  a \n\t b&nbsp;&nbsp;c  ", "a b  c"},
        {"entities", "a &amp; b &lt;c&gt; &quot;d&quot; &#39;e&#39; &#x263A; &apos;",
         "a & b <c> \"d\" 'e' \u263a '"},
        {"a list", "<p>Tonight:</p><ul><li>one</li><li>two</li></ul>after",
         "Tonight:\n\n* one\n* two\n\nafter"},
        {"a list in a list", "<ul><li>a<ul><li>b</li></ul></li><li>c</li></ul>", "* a\n  * b\n* c"},
        {"a quote", "<p>Yes</p><blockquote>one<br>two<br><br>four</blockquote>after",
         "Yes\n\n> one\n> two\n>\n> four\n\nafter"},
        {"a quote in a quote", "<blockquote>a<blockquote>b</blockquote>c</blockquote>",
         "> a\n>\n> > b\n>\n> c"},
        {"pre", "<p>x</p><pre>  a   b\n c</pre>y", "x\n\n  a   b\n c\n\ny"},
        {"a table", "<table><tr><td>a</td><td>b</td></tr><tr><td>c</td></tr></table>", "a b\nc"},
        {"the engine's document", "<html><head><title>t</title></head><body><p>Hi</p></body>",
         "Hi"},
        {"scripts and styles", "<style>p{}</style><p>a<script>b</script>c</p>", "ac"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(mime::HtmlToPlainText(QString::fromUtf8(c.html)), QString::fromUtf8(c.text))
            << c.what;
    }
}

TEST(MimePlainText, TheQuotedHtmlReadsAsTheQuotedText) {
    const mime::QuoteHeader header{QStringLiteral("Ann Listener <ann@example.org>"),
                                   QStringLiteral("Wed, 09 Dec 2026 07:15:00 +0000"),
                                   QStringLiteral("studio@radio.example"), QString(),
                                   QStringLiteral("Request & more")};
    for (const char* original :
         {"Play my song", "Play my song\n", "one\n\nthree\r\nfour\n\n", "", "<b>not bold</b>"}) {
        const QString text = QString::fromUtf8(original);
        EXPECT_EQ(mime::HtmlToPlainText(mime::QuotedHtml(header, QString(), text)),
                  mime::QuotedText(header, text))
            << original;
    }
    // Typed into the first paragraph, a line stands above the quote and apart from it.
    QString html = mime::QuotedHtml(header, QString(), QStringLiteral("Play my song"));
    html.replace(QStringLiteral("<p><br></p>"), QStringLiteral("<p>Danke Ann</p>"));
    EXPECT_EQ(mime::HtmlToPlainText(html),
              QStringLiteral("Danke Ann") +
                  mime::QuotedText(header, QStringLiteral("Play my song")));
}
