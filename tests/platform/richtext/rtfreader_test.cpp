#include "platform/richtext/rtfreader.h"
#include "platform/richtext/rtfwriter.h"

#include "describe.h"

#include <QFile>

#include <vector>

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct ReadCase {
    const char* name;
    QByteArray rtf;
    bool readable;
    std::string expected; // Describe() of the result when readable
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class RtfReaderTable : public ::testing::TestWithParam<ReadCase> {};

TEST_P(RtfReaderTable, Reads) {
    const ReadCase& c = GetParam();
    RichTextDocument doc;
    QString error;
    const bool ok = RtfReader::Read(c.rtf, doc, &error);
    ASSERT_EQ(ok, c.readable) << error.toStdString();
    if (ok) {
        EXPECT_EQ(Describe(doc), c.expected);
    } else {
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(doc.paragraphs.isEmpty());
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Samples, RtfReaderTable, ::testing::Values(
    ReadCase{"Formatting",
        "{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;}Plain {\\b bold} \\i italic\\i0  "
        "\\ul under\\ulnone \\fs32 big\\fs24\\cf1  red\\cf0 .\\par Next\\b\\par}",
        true, "Plain [b]bold[/] [i]italic[/] [u]under[/][s32]big[/][s24,c#ff0000] red[/][s24].[/]|"
              "[s24]Next[/]"},
    ReadCase{"HexEscapeInCodePage1252", "{\\rtf1\\ansi\\ansicpg1252 caf\\'e9 \\'80}", true,
        "caf\xC3\xA9 \xE2\x82\xAC"},
    ReadCase{"HexEscapeInCodePage1251", "{\\rtf1\\ansi\\ansicpg1251 \\'c4\\'e0}", true,
        "\xD0\x94\xD0\xB0"},
    ReadCase{"UnicodeWithStandIn", "{\\rtf1 price \\u8364? 5}", true, "price \xE2\x82\xAC 5"},
    ReadCase{"UnicodeNegativeAndUc2", "{\\rtf1\\uc2 \\u-10179\\'3f\\'3f\\u-8704?" "?!}", true,
        "\xF0\x9F\x98\x80!"},
    ReadCase{"UnicodeStandInEndsAtGroup", "{\\rtf1 {\\u233}x}", true, "\xC3\xA9x"},
    ReadCase{"FontTableSkipped",
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
        "\\f1 Text}", true, "Text"},
    ReadCase{"StarredAndInfoSkipped",
        "{\\rtf1{\\info{\\title T}{\\author A}}{\\*\\generator Writer 1.0;}{\\*\\unknown z}Body}",
        true, "Body"},
    ReadCase{"PictureAndObjectSkipped",
        "{\\rtf1 a{\\pict\\pngblip 89504e47}{\\object{\\*\\objdata 0102}{\\result b}}c}", true, "ac"},
    ReadCase{"BinInsidePictureSkipped", "{\\rtf1 a{\\pict\\bin4 }{\\}z}b}", true, "ab"},
    ReadCase{"FieldResultShown",
        "{\\rtf1 see {\\field{\\*\\fldinst HYPERLINK \"http://x/\"}{\\fldrslt here}}.}", true,
        "see here."},
    ReadCase{"EscapesAndSymbols", "{\\rtf1 \\{a\\}\\\\ b\\~c\\tab d\\emdash\\line e}", true,
        "{a}\\ b\xC2\xA0" "c\td\xE2\x80\x94\xE2\x80\xA8" "e"},
    ReadCase{"RawLineEndsAreNotText", "{\\rtf1 one\r\ntwo\\\r\nthree}", true, "onetwo|three"},
    ReadCase{"PlainResetsFormat", "{\\rtf1\\b\\i x\\plain y}", true, "[b,i]x[/]y"},
    ReadCase{"TextAfterLastBraceIgnored", "{\\rtf1 a}garbage{", true, "a"},
    ReadCase{"EmptyParagraphsKept", "{\\rtf1 a\\par\\par b}", true, "a||b"},
    ReadCase{"ColourOutOfTableIsDefault", "{\\rtf1{\\colortbl;\\red1\\green2\\blue3;}\\cf9 x}", true, "x"},
    ReadCase{"Unbalanced", "{\\rtf1 {\\b open", false, ""},
    ReadCase{"NotRtf", "Just some notes.\n", false, ""},
    ReadCase{"BadHex", "{\\rtf1 \\'zz}", false, ""},
    ReadCase{"HexAtEnd", "{\\rtf1 \\'", false, ""},
    ReadCase{"HugeNumber", "{\\rtf1 \\fs99999999999}", false, ""},
    ReadCase{"OverlongWord", "{\\rtf1 \\aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa}", false, ""},
    ReadCase{"BinClaimPastData", "{\\rtf1 \\bin52428800 abc}", false, ""},
    ReadCase{"NegativeBin", "{\\rtf1 \\bin-5 abc}", false, ""}));
// clang-format on

TEST(RtfReader, GroupDepthIsBounded) {
    QByteArray deep = "{\\rtf1 ";
    deep += QByteArray(RtfReader::kMaxGroupDepth + 10, '{');
    deep += 'x';
    deep += QByteArray(RtfReader::kMaxGroupDepth + 11, '}');
    RichTextDocument doc;
    QString error;
    EXPECT_FALSE(RtfReader::Read(deep, doc, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("deeper"))) << error.toStdString();

    QByteArray fine = "{\\rtf1 ";
    fine += QByteArray(RtfReader::kMaxGroupDepth - 2, '{');
    fine += 'x';
    fine += QByteArray(RtfReader::kMaxGroupDepth - 1, '}');
    EXPECT_TRUE(RtfReader::Read(fine, doc, &error)) << error.toStdString();
    EXPECT_EQ(Describe(doc), "x");
}

// A 50 MB \bin claim in a small file is refused from the length alone. The data sits in a
// heap block of exactly its size without a terminating zero, so a read past it is caught by
// the address sanitizer.
TEST(RtfReader, BinClaimIsRefusedWithoutReadingPastTheData) {
    const QByteArray text = "{\\rtf1 text \\bin52428800 tail}";
    std::vector<char> exact(text.begin(), text.end());
    const QByteArray view =
        QByteArray::fromRawData(exact.data(), static_cast<qsizetype>(exact.size()));
    RichTextDocument doc;
    QString error;
    EXPECT_FALSE(RtfReader::Read(view, doc, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("52428800"))) << error.toStdString();
    EXPECT_TRUE(doc.paragraphs.isEmpty());
}

TEST(RtfReader, BinLargerThanTheLimitIsRefusedEvenWhenPresent) {
    QByteArray data = "{\\rtf1 \\bin" + QByteArray::number(RtfReader::kMaxBinBytes + 1) + ' ';
    data += QByteArray(RtfReader::kMaxBinBytes + 1, 'x');
    data += '}';
    RichTextDocument doc;
    EXPECT_FALSE(RtfReader::Read(data, doc));
}

TEST(RtfReader, ReadsTheSampleUpdateNotes) {
    QFile file(QStringLiteral(ORLIX_FIXTURES "/richtext/updates.rtf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    RichTextDocument doc;
    QString error;
    ASSERT_TRUE(RtfReader::Read(file.readAll(), doc, &error)) << error.toStdString();
    ASSERT_GE(doc.paragraphs.size(), 3);
    EXPECT_EQ(doc.paragraphs[0].text(), QStringLiteral("Orlix update information"));
    EXPECT_TRUE(doc.paragraphs[0].runs[0].bold);
    EXPECT_TRUE(doc.plainText().contains(QStringLiteral("Caf\u00e9 \u20ac")));
}

} // namespace

// A control character in the text (\u0, \'07, a raw byte) is no text: it is dropped as the
// writer drops it, so that a document read and written reads back the same.
TEST(RtfReader, ControlCharactersAreNoTextAndADocumentReadsBackTheSame) {
    const struct {
        const char* rtf;
        const char* text;
    } cases[] = {
        {"{\\rtf1\\ansi a\\u0?b}", "ab"},
        {"{\\rtf1\\ansi a\\'07b\\'00c}", "abc"},
        {"{\\rtf1\\ansi {\\b x\\u8?}y}", "xy"},
        {"{\\rtf1\\ansi \\u}", ""},
        // Line ends given as text: whatever they read as, the document reads back the same.
        {"{\\rtf1\\ansi a\\'0ab\\u13?c\\u10?d\\line e}", nullptr},
    };
    for (const auto& c : cases) {
        RichTextDocument document;
        ASSERT_TRUE(RtfReader::Read(QByteArray(c.rtf), document)) << c.rtf;
        if (c.text != nullptr) {
            EXPECT_EQ(document.plainText(), QString::fromUtf8(c.text)) << c.rtf;
        }
        RichTextDocument again;
        ASSERT_TRUE(RtfReader::Read(RtfWriter::Write(document), again)) << c.rtf;
        EXPECT_TRUE(again == document) << c.rtf;
    }
}
