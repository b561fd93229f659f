#include "platform/system/stringhelper.h"
#include "platform/system/textcodec.h"

#include "support/displaymarks.h"
#include "support/testhome.h"

#include <QFile>

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct ReplaceCase {
    const char* name;
    QString text;
    QString tag;
    QString value;
    bool option;
    QString expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const ReplaceCase& c, std::ostream* os) {
    *os << c.name;
}

class ReplaceTextTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceTextTest, Replaces) {
    const ReplaceCase& c = GetParam();
    EXPECT_EQ(StringHelper::ReplaceText(c.text, c.tag, c.value, c.option), Marked(c.expected));
}

const QString kTag = QStringLiteral("<OCP_X>");

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceTextTest,
    ::testing::Values(
        ReplaceCase{"EveryOccurrence", "a<OCP_X>b<OCP_X>c", kTag, "1", true,
                    "a\u00ab1\u00bbb\u00ab1\u00bbc"},
        ReplaceCase{"CaseMatchedExactly", "<ocp_x>|<OCP_X>", kTag, "v", true,
                    "<ocp_x>|\u00abv\u00bb"},
        ReplaceCase{"NoTag", "plain text", kTag, "v", true, "plain text"},
        ReplaceCase{"EmptyTagLeavesText", "a<>b", "", "v", true, "a<>b"},
        ReplaceCase{"EmptyValueRemovesTag", "[<OCP_X>]", kTag, "", true, "[]"},
        ReplaceCase{"ScriptEscaped", "<p><OCP_X></p>", kTag, "<script>alert(1)</script>", true,
                    "<p>\u00ab&lt;script&gt;alert(1)&lt;/script&gt;\u00bb</p>"},
        ReplaceCase{"AttributeBreakoutEscaped", "<a title=\"<OCP_X>\">", kTag,
                    "\"><a href=\"http://x/\">", true,
                    "<a title=\"\u00ab&quot;&gt;&lt;a href=&quot;http://x/&quot;&gt;\u00bb\">"},
        ReplaceCase{"EntitiesNotPassedThrough", "<OCP_X>", kTag, "&amp; &#60;", true,
                    "\u00ab&amp;amp; &amp;#60;\u00bb"},
        ReplaceCase{"LineBreaksBecomeBr", "<OCP_X>", kTag, "a\r\nb\nc\rd", true,
                    "\u00aba\u00bb<br>\u00abb\u00bb<br>\u00abc\u00bb<br>\u00abd\u00bb"},
        ReplaceCase{"BlankRunsFoldWithOptionTrue", "<OCP_X>", kTag, "a  b", true,
                    "\u00aba  b\u00bb"},
        ReplaceCase{"BlankRunsKeptWithOptionFalse", "<OCP_X>", kTag, "a   b c", false,
                    "\u00aba&nbsp;&nbsp;&nbsp;b c\u00bb"},
        ReplaceCase{"EdgeBlanksKeptWithOptionFalse", "<OCP_X>", kTag, " a\n b ", false,
                    "\u00ab&nbsp;a\u00bb<br>\u00ab&nbsp;b&nbsp;\u00bb"},
        ReplaceCase{"OptionFalseStillEscapes", "<OCP_X>", kTag, "<b>x</b>", false,
                    "\u00ab&lt;b&gt;x&lt;/b&gt;\u00bb"},
        ReplaceCase{"AValuesOverrideIsDroppedAndItsLinesIsolated", "<OCP_X>", kTag,
                    "\u202eevil\r\nnext", true, "\u00abevil\u00bb<br>\u00abnext\u00bb"},
        ReplaceCase{"ValueHoldingTagIsNotReplacedAgain", "<OCP_X>", kTag, "<OCP_X>", true,
                    "\u00ab&lt;OCP_X&gt;\u00bb"}),
    [](const ::testing::TestParamInfo<ReplaceCase>& info) { return info.param.name; });

struct DecodeCase {
    const char* name;
    QByteArray bytes;
    QString expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << c.name;
}

class ReadTextFileTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(ReadTextFileTest, DecodesByTheRule) {
    const DecodeCase& c = GetParam();
    const QString path = TestHome() + QStringLiteral("/file.htm");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(c.bytes);
    f.close();
    EXPECT_EQ(StringHelper::ReadTextFile(path, -1), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadTextFileTest,
    ::testing::Values(
        DecodeCase{"Ascii", "<p>hello</p>", "<p>hello</p>"},
        DecodeCase{"Utf8WithBom",
                   "\xEF\xBB\xBF"
                   "caf\xC3\xA9",
                   QStringLiteral("caf\u00e9")},
        DecodeCase{"Utf8WithoutBom", "\xE2\x82\xAC 5", QStringLiteral("\u20ac 5")},
        DecodeCase{"Windows1252", "caf\xE9 \x80 \x96", QStringLiteral("caf\u00e9 \u20ac \u2013")},
        DecodeCase{"Windows1252UndefinedByteKept", "a\x81z", QStringLiteral("a\u0081z")},
        DecodeCase{"OverlongUtf8IsNotUtf8", "\xC0\xAF", QStringLiteral("\u00c0\u00af")},
        DecodeCase{"TruncatedUtf8IsNotUtf8", "ab\xE2\x82", QStringLiteral("ab\u00e2\u201a")},
        DecodeCase{"Utf16LeWithBom",
                   QByteArray("\xFF\xFE"
                              "h\0i\0",
                              6),
                   "hi"},
        DecodeCase{"Empty", "", ""}),
    [](const ::testing::TestParamInfo<DecodeCase>& info) { return info.param.name; });

TEST(ReadTextFile, MissingFileIsEmpty) {
    EXPECT_EQ(StringHelper::ReadTextFile(TestHome() + QStringLiteral("/none.htm")), QString());
    EXPECT_EQ(StringHelper::ReadTextFile(QString()), QString());
}

TEST(ReadTextFile, PositiveLengthKeepsThatManyCharacters) {
    const QString path = TestHome() + QStringLiteral("/t.txt");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("caf\xC3\xA9 au lait");
    f.close();
    EXPECT_EQ(StringHelper::ReadTextFile(path, 4), QStringLiteral("caf\u00e9"));
}

TEST(ReadTextFile, OversizedFileIsRefused) {
    const QString path = TestHome() + QStringLiteral("/big.txt");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(StringHelper::kMaxTextFileBytes + 1)); // sparse: costs no disk
    f.close();
    EXPECT_EQ(StringHelper::ReadTextFile(path), QString());
}

TEST(TextCodec, Windows1252RoundTripsEveryByte) {
    for (int b = 0; b < 256; ++b) {
        const QString s = TextCodec::DecodeWindows1252(QByteArray(1, static_cast<char>(b)));
        ASSERT_EQ(s.size(), 1);
        EXPECT_EQ(TextCodec::Windows1252ByteOf(s[0]), b) << b;
    }
    EXPECT_EQ(TextCodec::Windows1252ByteOf(QChar(0x4E2D)), -1);
}

} // namespace
