// Listener text put into HTML: hostile values come out as text, whichever quote surrounds them.

#include "platform/web/htmltext.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct EscapeCase {
    const char* name;
    QString value;
    QString escaped;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const EscapeCase& c, std::ostream* os) {
    *os << c.name;
}

class HtmlTextEscape : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(HtmlTextEscape, LeavesNoMarkup) {
    EXPECT_EQ(HtmlText::Escape(GetParam().value), GetParam().escaped);
}

INSTANTIATE_TEST_SUITE_P(
    Hostile, HtmlTextEscape,
    ::testing::Values(
        EscapeCase{"Plain", "Ann Listener", "Ann Listener"}, EscapeCase{"Empty", "", ""},
        EscapeCase{"Script", "<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
        EscapeCase{"DoubleQuoteBreakout", "\" onmouseover=\"x", "&quot; onmouseover=&quot;x"},
        EscapeCase{"SingleQuoteBreakout", "' onmouseover='x", "&#39; onmouseover=&#39;x"},
        EscapeCase{"Apostrophe", "Town's End", "Town&#39;s End"},
        EscapeCase{"EntitiesAreText", "&amp; &#60; &lt", "&amp;amp; &amp;#60; &amp;lt"},
        EscapeCase{"CommandLink", "<a href=\"orlix://deletemessages\">x</a>",
                   "&lt;a href=&quot;orlix://deletemessages&quot;&gt;x&lt;/a&gt;"},
        EscapeCase{"TemplateTag", "<OCP_MESSAGE_SELECT>", "&lt;OCP_MESSAGE_SELECT&gt;"},
        EscapeCase{"NulDropped", QString::fromUtf16(u"a\0<b", 4), "a&lt;b"},
        EscapeCase{"LineBreaksKept", "a\r\nb", "a\r\nb"},
        EscapeCase{"NonAsciiKept", "J\u00f6rg \u2013 \U0001F3B5 \u200d\U0001F3B5",
                   "J\u00f6rg \u2013 \U0001F3B5 \u200d\U0001F3B5"},
        EscapeCase{"DirectionCharactersDropped",
                   "Ctl Name\u202e <ctl@example.org>\u202a\u202b\u202c\u202d\u2066\u2067"
                   "\u2068\u2069\u200e\u200f\u061c",
                   "Ctl Name &lt;ctl@example.org&gt;"}),
    [](const ::testing::TestParamInfo<EscapeCase>& info) { return info.param.name; });

struct LinesCase {
    const char* name;
    QString value;
    HtmlText::LineOptions options;
    QString html;
};

void PrintTo(const LinesCase& c, std::ostream* os) {
    *os << c.name;
}

class HtmlTextLines : public ::testing::TestWithParam<LinesCase> {};

TEST_P(HtmlTextLines, BreakLinesAndEscape) {
    EXPECT_EQ(HtmlText::Lines(GetParam().value, GetParam().options), GetParam().html);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HtmlTextLines,
    ::testing::Values(
        LinesCase{"EveryKindOfBreak", "a\r\nb\nc\rd", {}, "a<br>b<br>c<br>d"},
        LinesCase{"TwoBreaksTwoBr", "a\n\nb\r\n\r\nc", {}, "a<br><br>b<br><br>c"},
        LinesCase{"BreakSource", "a\r\nb\rc", {.breakSource = true}, "a<br>\nb<br>\nc"},
        LinesCase{"EscapedToo",
                  "<b>'x'</b>\n\"y\" & z",
                  {},
                  "&lt;b&gt;&#39;x&#39;&lt;/b&gt;<br>&quot;y&quot; &amp; z"},
        LinesCase{"BlanksFoldByDefault", "  a  b  ", {}, "  a  b  "},
        LinesCase{"RunsOfBlanksKept", "a   b c", {.keepBlanks = true}, "a&nbsp;&nbsp;&nbsp;b c"},
        LinesCase{"EdgeBlanksKept",
                  " a\r\n b \rc ",
                  {.keepBlanks = true},
                  "&nbsp;a<br>&nbsp;b&nbsp;<br>c&nbsp;"},
        LinesCase{"TabsAreNotBlanks", "a\t\tb", {.keepBlanks = true}, "a\t\tb"},
        LinesCase{"BrInTheTextIsText", "a<br>b", {}, "a&lt;br&gt;b"},
        LinesCase{"DirectionCharactersDropped", "\u202eabc\n\u2067d\u2069", {}, "abc<br>d"},
        LinesCase{"EachLineIsolated",
                  "\u05e9\u05dc\u05d5\u05dd <b>\r\n\r\n\u202eback",
                  {.isolateLines = true},
                  "\u2068\u05e9\u05dc\u05d5\u05dd &lt;b&gt;\u2069<br><br>\u2068back\u2069"},
        LinesCase{"Empty", "", {.keepBlanks = true, .breakSource = true}, ""}),
    [](const ::testing::TestParamInfo<LinesCase>& info) { return info.param.name; });

} // namespace
