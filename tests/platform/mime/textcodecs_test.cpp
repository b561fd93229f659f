// The text rules under the message object: body charsets, address texts, header words.

#include "platform/mime/addresstext.h"
#include "platform/mime/bodytext.h"
#include "platform/mime/headertext.h"

#include <gtest/gtest.h>

namespace {

struct CharsetCase {
    QByteArray bytes;
    const char* charset;
    const char* text;
};

void PrintTo(const CharsetCase& c, std::ostream* os) {
    *os << c.charset << " " << c.text;
}

class BodyCharsets : public ::testing::TestWithParam<CharsetCase> {};

TEST_P(BodyCharsets, DecodeToUnicode) {
    EXPECT_EQ(mime::DecodeBodyText(GetParam().bytes, GetParam().charset),
              QString::fromUtf8(GetParam().text));
}

const CharsetCase kCharsets[] = {
    {"caf\xc3\xa9", "utf-8", "caf\u00e9"},
    {"caf\xc3\xa9", "", "caf\u00e9"},
    {"caf\xe9", "", "caf\u00e9"},
    {"caf\xe9 \x80", "us-ascii", "caf\u00e9 \u20ac"},
    {"caf\xc3\xa9", "US-ASCII", "caf\u00e9"},
    {"\x93quoted\x94", "iso-8859-1", "\u201cquoted\u201d"},
    {"\x93quoted\x94", "windows-1252", "\u201cquoted\u201d"},
    {"caf\xe9", "x-no-such-charset", "caf\u00e9"},
    {"\xf0\xd2\xc9\xd7\xc5\xd4", "koi8-r", "\u041f\u0440\u0438\u0432\u0435\u0442"},
    {"\x82\xb1\x82\xf1", "shift_jis", "\u3053\u3093"},
    {"bad \xff byte", "utf-8", "bad \ufffd byte"},
    {"\xa4", "iso-8859-15", "\u20ac"},
    {"", "utf-8", ""},
};

INSTANTIATE_TEST_SUITE_P(Mime, BodyCharsets, ::testing::ValuesIn(kCharsets));

struct SplitCase {
    const char* text;
    QStringList entries;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << c.text;
}

class AddressSplits : public ::testing::TestWithParam<SplitCase> {};

TEST_P(AddressSplits, KeepQuotedCommas) {
    EXPECT_EQ(mime::SplitAddressText(QString::fromUtf8(GetParam().text)), GetParam().entries);
}

const SplitCase kSplits[] = {
    {"a@x, b@y", {QStringLiteral("a@x"), QStringLiteral("b@y")}},
    {"\"Smith, Ann\" <ann@x>,b@y",
     {QStringLiteral("\"Smith, Ann\" <ann@x>"), QStringLiteral("b@y")}},
    {"\"a \\\" , b\" <c@d>", {QStringLiteral("\"a \\\" , b\" <c@d>")}},
    {"ann@x (Ann, at home), b@y", {QStringLiteral("ann@x (Ann, at home)"), QStringLiteral("b@y")}},
    {" , ,", {}},
    {"", {}},
};

INSTANTIATE_TEST_SUITE_P(Mime, AddressSplits, ::testing::ValuesIn(kSplits));

TEST(AddressText, EntriesHaveTheirAddress) {
    EXPECT_EQ(mime::AddressOfEntry(QStringLiteral("\"A\" <a@x>")), QStringLiteral("a@x"));
    EXPECT_EQ(mime::AddressOfEntry(QStringLiteral(" a@x ")), QStringLiteral("a@x"));
    EXPECT_EQ(mime::AddressOfEntry(QStringLiteral("A <a@x")), QStringLiteral("a@x"));
    EXPECT_EQ(mime::ComposeAddressEntry(QStringLiteral("Smith, Ann"), QStringLiteral("a@x")),
              QStringLiteral("\"Smith, Ann\" <a@x>"));
    EXPECT_EQ(mime::ComposeAddressEntry(QStringLiteral("Ann"), QStringLiteral("a@x")),
              QStringLiteral("Ann <a@x>"));
    EXPECT_EQ(mime::ComposeAddressEntry(QString(), QStringLiteral("a@x")), QStringLiteral("a@x"));
}

TEST(HeaderText, LineBreaksBecomeBlanks) {
    EXPECT_EQ(mime::OneLineText(QStringLiteral("a\r\nb\rc\nd")), QStringLiteral("a b c d"));
    EXPECT_EQ(mime::OneLineText(QString::fromUtf16(u"x\0y", 3)), QStringLiteral("xy"));
}

TEST(HeaderText, EncodedWordsStayShortAndAscii) {
    const QByteArray raw = mime::EncodeHeaderWords(QString(100, u'\u00e9'));
    for (const QByteArray& line : raw.split('\n')) {
        EXPECT_LE(line.size(), 76);
    }
    for (char c : raw) {
        EXPECT_TRUE(static_cast<unsigned char>(c) < 0x80);
    }
}

TEST(HeaderText, PaddedBWordsAreRewrittenAsQWords) {
    EXPECT_EQ(mime::RepairEncodedWords("=?UTF-8?B?SGk=?= =?utf-8?b?dGhlcmU=?= plain"),
              QByteArray("=?UTF-8?Q?Hi?= =?utf-8?Q?there?= plain"));
    EXPECT_EQ(mime::RepairEncodedWords("no words"), QByteArray("no words"));
}

} // namespace
