#include "scripts/scriptfont.h"
#include "scripts/scriptrules.h"
#include "scripts/scripttext.h"

#include <gtest/gtest.h>

namespace {

struct TextCase {
    const char* name;
    QString text;
    QString shown;
};

TEST(ScriptTextTest, ScriptTextsBecomeTheHtmlShown) {
    const auto wrap = [](const char* body) {
        return QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body>") +
               QLatin1String(body) + QStringLiteral("</body></html>");
    };
    const TextCase cases[] = {
        {"empty", QString(), QString()},
        {"two lines with CR LF", QStringLiteral("Hello\r\nworld"),
         wrap("<p>Hello</p><p>world</p>")},
        {"blank line between", QStringLiteral("Hello\r\n\r\nworld"),
         wrap("<p>Hello</p><p>world</p>")},
        {"bare LF and CR", QStringLiteral("a\nb\rc"), wrap("<p>a</p><p>b</p><p>c</p>")},
        {"placeholder escaped", QStringLiteral("<New Script>"), wrap("<p>&lt;New Script&gt;</p>")},
        {"markup-like text escaped", QStringLiteral("a & b <script>x</script>"),
         wrap("<p>a &amp; b &lt;script&gt;x&lt;/script&gt;</p>")},
        {"paragraph in capitals unchanged", QStringLiteral("<P>Top of the hour</P>"),
         QStringLiteral("<P>Top of the hour</P>")},
        {"font tag unchanged", QStringLiteral("<font face=x>y</font>"),
         QStringLiteral("<font face=x>y</font>")},
        {"html unchanged", QStringLiteral("<HTML><body>z</body></HTML>"),
         QStringLiteral("<HTML><body>z</body></HTML>")},
        {"rtf paragraphs", QStringLiteral("{\\rtf1\\ansi Line one\\par Line two\\par}"),
         wrap("<p>Line one</p><p>Line two</p>")},
        {"refused rtf kept as plain text", QStringLiteral("{\\rtf1\\ansi {{{ unclosed"),
         wrap("<p>{\\rtf1\\ansi {{{ unclosed</p>")},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(ScriptText::HtmlForScriptText(c.text).toStdString(), c.shown.toStdString())
            << c.name;
    }
}

TEST(ScriptTextTest, RtfSignatureIsCaseSensitive) {
    EXPECT_TRUE(ScriptText::HoldsRtf(QStringLiteral("x{\\rtf1\\ansi}")));
    EXPECT_FALSE(ScriptText::HoldsRtf(QStringLiteral("{\\RTF1\\ansi}")));
    EXPECT_FALSE(ScriptText::HoldsRtf(QStringLiteral("{\\rtf1 ansi}")));
}

struct FontCase {
    const char* name;
    FontStyle font;
    bool applied;
    int pixelSize;
    bool bold, italic, underline, strike;
};

TEST(ScriptFontTest, ScriptFontLooks) {
    const FontCase cases[] = {
        {"size 5 bold",
         {QStringLiteral("Arial"), 5, 0, 1, 0, 0, 0},
         true,
         18,
         true,
         false,
         false,
         false},
        {"empty name applies nothing",
         {QString(), 5, 0, 1, 1, 1, 1},
         false,
         0,
         false,
         false,
         false,
         false},
        {"size 1", {QStringLiteral("Arial"), 1, 0, 0, 1, 0, 0}, true, 8, false, true, false, false},
        {"size 7", {QStringLiteral("Arial"), 7, 0, 0, 0, 1, 1}, true, 36, false, false, true, true},
        {"size 0 keeps sizes",
         {QStringLiteral("Arial"), 0, 0, 0, 0, 0, 0},
         true,
         0,
         false,
         false,
         false,
         false},
        {"size 8 keeps sizes",
         {QStringLiteral("Arial"), 8, 0, 0, 0, 0, 0},
         true,
         0,
         false,
         false,
         false,
         false},
        {"flag 2 is not on",
         {QStringLiteral("Arial"), 3, 0, 2, -1, 2, 2},
         true,
         12,
         false,
         false,
         false,
         false},
    };
    for (const FontCase& c : cases) {
        const auto look = ScriptFontLookOf(&c.font);
        ASSERT_EQ(look.has_value(), c.applied) << c.name;
        if (!look) {
            continue;
        }
        EXPECT_EQ(look->pixelSize, c.pixelSize) << c.name;
        EXPECT_EQ(look->bold, c.bold) << c.name;
        EXPECT_EQ(look->italic, c.italic) << c.name;
        EXPECT_EQ(look->underline, c.underline) << c.name;
        EXPECT_EQ(look->strikeThrough, c.strike) << c.name;
    }
    EXPECT_FALSE(ScriptFontLookOf(nullptr).has_value());
}

TEST(ScriptFontTest, ColourIsStoredBlueGreenRed) {
    FontStyle font{QStringLiteral("Arial"), 3, 0x00336699, 0, 0, 0, 0};
    EXPECT_EQ(ScriptFontLookOf(&font)->colour, QColor(0x99, 0x66, 0x33));
}

struct RightCase {
    const char* name;
    ScriptNodeKind node;
    QString file;
    bool canCreate;
    bool editable;
};

TEST(ScriptRulesTest, EditRight) {
    const QString shared = QStringLiteral("/s/Intro.htm");
    const RightCase cases[] = {
        {"nothing selected", ScriptNodeKind::None, shared, true, false},
        {"personal without right", ScriptNodeKind::Personal, QStringLiteral("/p/OrlixScript.htm"),
         false, true},
        {"new script with right", ScriptNodeKind::SharedRoot, QString(), true, true},
        {"new script without right", ScriptNodeKind::SharedRoot, QString(), false, false},
        {"shared file with right", ScriptNodeKind::Other, shared, true, true},
        {"shared file without right", ScriptNodeKind::Other, shared, false, false},
        {"shared html in capitals", ScriptNodeKind::Other, QStringLiteral("/s/A.HTML"), true, true},
        {"shared asp", ScriptNodeKind::Other, QStringLiteral("/s/a.aspx"), true, true},
        {"log script text", ScriptNodeKind::Other, QString(), true, false},
        {"shared text file", ScriptNodeKind::Other, QStringLiteral("/s/a.txt"), true, false},
        {"shared file without extension", ScriptNodeKind::Other, QStringLiteral("/s/a"), true,
         false},
    };
    for (const RightCase& c : cases) {
        EXPECT_EQ(MayEditScript(c.node, c.file, c.canCreate), c.editable) << c.name;
    }
}

TEST(ScriptRulesTest, ScrollIntervals) {
    const std::pair<int, int> cases[] = {{1, 500}, {6, 250},  {10, 50},   {0, 500},
                                         {11, 50}, {-5, 500}, {32767, 50}};
    for (const auto& [speed, interval] : cases) {
        EXPECT_EQ(ScriptScroll::StepInterval(speed), interval) << speed;
    }
    EXPECT_EQ(ScriptScroll::kFirstStepMs, 2000);
    EXPECT_EQ(ScriptScroll::StepInterval(ScriptScroll::kDefaultSpeed), 250);
}

} // namespace
