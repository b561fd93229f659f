// A listener's HTML quoted in a reply: what a browser would run or load from it never comes
// through, however the markup hides it.

#include "platform/mime/safehtml.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct HostileCase {
    const char* name;
    QString body;
    QString safe;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const HostileCase& c, std::ostream* os) {
    *os << c.name;
}

class SafeHtml : public ::testing::TestWithParam<HostileCase> {};

TEST_P(SafeHtml, KeepsOnlyHarmlessMarkup) {
    EXPECT_EQ(mime::SafeHtmlBody(GetParam().body), GetParam().safe);
    // What is written is read back as written: the writer says nothing the reader takes
    // otherwise.
    EXPECT_EQ(mime::SafeHtmlBody(GetParam().safe), GetParam().safe);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, SafeHtml,
    ::testing::Values(
        HostileCase{
            "PlainFormattingKept",
            "<p align=center>Caf\u00e9 <b>news</b> &amp; <I>more</I>&nbsp;</p><br/><hr>",
            "<p align=\"center\">Caf\u00e9 <b>news</b> &amp; <i>more</i>&nbsp;</p><br><hr>"},
        HostileCase{"ScriptInsideAScriptName", "<scr<script>x</script>ipt>alert(1)</script>",
                    "xipt&gt;alert(1)"},
        HostileCase{"ScriptWithoutEnd", "ok<SCRIPT type=\"text/javascript\">alert(1)<p>x</p>",
                    "ok"},
        HostileCase{"ScriptEndLookalike", "<script>a</scripty>b</script\t>c", "c"},
        HostileCase{"EventAttribute", "<img src=\"http://example.org/a.png\" onerror=\"alert(1)\">",
                    "<img src=\"http://example.org/a.png\">"},
        HostileCase{"EventAttributeUnquotedAndSlashed",
                    "<img/src=\"http://example.org/a.png\"/onerror=alert(1)><p onclick=x "
                    "ONMOUSEOVER='y' align=left>t</p>",
                    "<img src=\"http://example.org/a.png\"><p align=\"left\">t</p>"},
        HostileCase{"JavascriptLink", "<a href=\"javascript:alert(1)\">x</a>", "<a>x</a>"},
        HostileCase{"JavascriptLinkInEntities",
                    "<a href=\"&#106;avascript&colon;alert(1)\">a</a>"
                    "<a href=\"&#x6A;avascript:alert(1)\">b</a>"
                    "<a href=\"java&#9;script:alert(1)\">c</a>"
                    "<a href=\" javascript:alert(1)\">d</a>",
                    "<a>a</a><a>b</a><a>c</a><a>d</a>"},
        HostileCase{"OtherSchemesAndRelativeLinks",
                    "<a href=\"data:text/html,x\">a</a><a href=\"orlix://deletemessages\">b</a>"
                    "<a href=\"/relative\">c</a><a href=\"#top\">d</a>"
                    "<img src=\"file:///etc/passwd\"><a href=\"vbscript:x\">e</a>",
                    "<a>a</a><a>b</a><a>c</a><a>d</a><img><a>e</a>"},
        HostileCase{
            "WebMailAndPartLinksKept",
            "<a href=\" HTTPS://radio.example/a?b=1&amp;c=2 \">w</a>"
            "<a href=\"mailto:ann@example.org\">m</a><img src=\"cid:part1@x\" alt=pic>",
            "<a href=\"HTTPS://radio.example/a?b=1&amp;c=2\">w</a>"
            "<a href=\"mailto:ann@example.org\">m</a><img src=\"cid:part1@x\" alt=\"pic\">"},
        HostileCase{"FirstOfTwoAttributesCounts",
                    "<a href=\"https://ok.example/\" href=\"javascript:x\">a</a>"
                    "<a href=\"javascript:x\" href=\"https://ok.example/\">b</a>",
                    "<a href=\"https://ok.example/\">a</a><a>b</a>"},
        HostileCase{"AttributeBreakout", "<p title='\"><script>alert(1)</script>'>x</p>",
                    "<p title=\"&quot;&gt;&lt;script&gt;alert(1)&lt;/script&gt;\">x</p>"},
        HostileCase{"UnknownAttributesDropped",
                    "<p id=x name=y data-x=1 srcset=\"http://x/\" formaction=\"http://x/\">t</p>",
                    "<p>t</p>"},
        HostileCase{
            "Styles",
            "<p style=\"color:red\">a</p><p style=\"background:url(http://x/)\">b</p>"
            "<p style=\"width:expression(alert(1))\">c</p><p style=\"b\\61ckground:u\\72l(x)\">"
            "d</p><p style=\"position:fixed;top:0\">e</p>",
            "<p style=\"color:red\">a</p><p>b</p><p>c</p><p>d</p><p>e</p>"},
        HostileCase{"StyleAndTitleElements",
                    "<style>body{background:url(http://x/)}</style><title>t</title><p>x</p>",
                    "<p>x</p>"},
        HostileCase{"EmbeddedDocumentsDropped",
                    "<iframe src=\"http://x/\">y</iframe><svg><script>alert(1)</script><text>t"
                    "</text><svg></svg></svg><math><mi>m</mi></math><object data=x><param>o"
                    "</object><embed src=x>ok",
                    "ok"},
        HostileCase{"Comments",
                    "<!--<script>alert(1)</script>-->a<!-->b<!--->c<!--[if IE]><script>x"
                    "</script><![endif]-->d<!-- x --!>e<!-- never closed <p>f</p>",
                    "abcde"},
        HostileCase{"DoctypeAndProcessingInstructions", "<!DOCTYPE html><?xml x?></ >ok", "ok"},
        HostileCase{"HeadAndWhatFollowsTheBody",
                    "<html><head><meta http-equiv=\"refresh\" content=\"0;url=http://x/\">"
                    "<base href=\"http://x/\"><link rel=stylesheet href=\"http://x/\"></head>"
                    "<body bgcolor=red onload=alert(1)><p>Hi</p></body></html><script>x</script>"
                    "after",
                    "<p>Hi</p>"},
        HostileCase{"HeadLeftOpen", "<head><script>x</script><body><p>Hi</p>", "<p>Hi</p>"},
        HostileCase{"SecondBodyTagIsNothing", "<body>one<body onload=alert(1)>two", "onetwo"},
        HostileCase{"FormsKeepOnlyText",
                    "<form action=\"http://x/\"><input value=v><button>press</button>"
                    "<textarea><b>t</b></textarea><select><option>o</select></form>",
                    "press"},
        HostileCase{"StrayEndTagsCannotCloseTheQuote",
                    "<b>bold <i>both</b> after</blockquote></div></body-x>",
                    "<b>bold <i>both</i></b> after"},
        HostileCase{"OpenElementsClosed", "<table><tr><td>x<td>y<tr><td>z",
                    "<table><tr><td>x</td><td>y</td></tr><tr><td>z</td></tr></table>"},
        HostileCase{"TagCutOffByTheEnd", "ok<img src=x onerror=alert(1)", "ok"},
        HostileCase{"QuoteCutOffByTheEnd", "ok<a title=\"x>y</a>", "ok"},
        HostileCase{"PlaintextSwallowsTheRest", "ok<plaintext><script>alert(1)</script>", "ok"},
        HostileCase{"LoneBracketsAreText", "1 < 2 > 0 <3 </ x", "1 &lt; 2 &gt; 0 &lt;3 "},
        HostileCase{"NulDropped", QString::fromUtf16(u"a\0b", 3), "ab"},
        HostileCase{"Empty", "", ""}),
    [](const ::testing::TestParamInfo<HostileCase>& info) { return info.param.name; });

TEST(SafeHtml, DeepNestingIsBoundedAndClosed) {
    QString body;
    for (int i = 0; i < 5000; ++i) {
        body += QStringLiteral("<div><span>");
    }
    const QString safe = mime::SafeHtmlBody(body + QStringLiteral("x"));
    const qsizetype opened =
        safe.count(QStringLiteral("<div>")) + safe.count(QStringLiteral("<span>"));
    EXPECT_GT(opened, 0);
    EXPECT_LE(opened, 100);
    EXPECT_EQ(safe.count(QStringLiteral("</div>")), safe.count(QStringLiteral("<div>")));
    EXPECT_EQ(safe.count(QStringLiteral("</span>")), safe.count(QStringLiteral("<span>")));
    EXPECT_TRUE(safe.contains(u'x'));
}

} // namespace
