#include "platform/system/displaytext.h"

#include <gtest/gtest.h>

namespace {
const QString kFsi = QString(QChar(0x2068));
const QString kPdi = QString(QChar(0x2069));

QString Isolated(const QString& text) {
    return kFsi + text + kPdi;
}

std::string Shown(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || (c.unicode() >= 0x2000 && c.unicode() < 0x2100) ||
            c.unicode() == 0x061C) {
            out += QStringLiteral("<U+%1>").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out.toStdString();
}
} // namespace

TEST(DisplayText, AOneLineFieldIsIsolatedWithoutItsDirectionCharactersAndItsBreaks) {
    // A family emoji: man, zero-width joiner, woman, joiner, girl.
    const QString family = QString::fromUtf8("\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80"
                                             "\x8D\xF0\x9F\x91\xA7");
    struct Case {
        const char* name;
        QString text;
        QString field;
    };
    const Case cases[] = {
        {"plain text", QStringLiteral("Ann Smith"), Isolated(QStringLiteral("Ann Smith"))},
        {"nothing", QString(), QString()},
        {"an override that would reverse the address",
         QStringLiteral("Ctl Name\u202e <ctl@example.org>"),
         Isolated(QStringLiteral("Ctl Name <ctl@example.org>"))},
        {"every embedding, override and isolate",
         QStringLiteral("a\u202ab\u202bc\u202cd\u202de\u202ef\u2066g\u2067h\u2068i\u2069j"),
         Isolated(QStringLiteral("abcdefghij"))},
        {"the marks", QStringLiteral("x\u200ey\u200fz\u061c!"), Isolated(QStringLiteral("xyz!"))},
        {"an early end of isolate in the text", QStringLiteral("\u2069\u202eevil"),
         Isolated(QStringLiteral("evil"))},
        {"line breaks of every kind become blanks",
         QStringLiteral("done\r\nnext\rthen\nlast\u2028line\u2029para"),
         Isolated(QStringLiteral("done  next then last line para"))},
        {"joiners and emoji stay", family + QStringLiteral(" \u200dx\u200c"),
         Isolated(family + QStringLiteral(" \u200dx\u200c"))},
        {"a right-to-left name keeps its letters",
         QString::fromUtf8("\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D"),
         Isolated(QString::fromUtf8("\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D"))},
        {"only direction characters", QStringLiteral("\u202e\u2066"), QString()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Shown(DisplayText::Field(c.text)), Shown(c.field)) << c.name;
    }
}

TEST(DisplayText, AMultiLineFieldIsIsolatedLineByLineAndACleanedTextHasNoMarks) {
    struct Case {
        const char* name;
        QString text;
        QString lines;
        QString cleaned;
    };
    const Case cases[] = {
        {"two lines", QStringLiteral("one\r\ntwo"),
         Isolated(QStringLiteral("one")) + QStringLiteral("\r\n") + Isolated(QStringLiteral("two")),
         QStringLiteral("one\r\ntwo")},
        {"an override in the first line", QStringLiteral("from \u202eevil\nsecond"),
         Isolated(QStringLiteral("from evil")) + QStringLiteral("\n") +
             Isolated(QStringLiteral("second")),
         QStringLiteral("from evil\nsecond")},
        {"an empty line between", QStringLiteral("a\n\nb"),
         Isolated(QStringLiteral("a")) + QStringLiteral("\n\n") + Isolated(QStringLiteral("b")),
         QStringLiteral("a\n\nb")},
        {"a field read back", Isolated(QStringLiteral("Ann")), Isolated(QStringLiteral("Ann")),
         QStringLiteral("Ann")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Shown(DisplayText::Lines(c.text)), Shown(c.lines)) << c.name;
        EXPECT_EQ(Shown(DisplayText::Cleaned(c.text)), Shown(c.cleaned)) << c.name;
    }
    // Reading back what a field shows gives the text as it was cleaned.
    EXPECT_EQ(DisplayText::Cleaned(DisplayText::Field(QStringLiteral("Ann \u202eSmith"))),
              QStringLiteral("Ann Smith"));
}

TEST(DisplayText, AnAddressEntryIsolatesItsNameAndItsAddressApart) {
    const QString hebrew = QString::fromUtf8("\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D");
    struct Case {
        const char* name;
        QString entry;
        QString shown;
    };
    const Case cases[] = {
        {"a name and an address", QStringLiteral("Ann Smith <ann@example.org>"),
         Isolated(QStringLiteral("Ann Smith")) + QStringLiteral(" <") +
             Isolated(QStringLiteral("ann@example.org")) + QStringLiteral(">")},
        {"an override at the end of the name",
         QStringLiteral("\"Ctl Name\u202e\" <ctl@example.org>"),
         Isolated(QStringLiteral("\"Ctl Name\"")) + QStringLiteral(" <") +
             Isolated(QStringLiteral("ctl@example.org")) + QStringLiteral(">")},
        {"a right-to-left name before a number", hebrew + QStringLiteral(" <07700 900123>"),
         Isolated(hebrew) + QStringLiteral(" <") + Isolated(QStringLiteral("07700 900123")) +
             QStringLiteral(">")},
        {"a bare number", QStringLiteral("+44 7700 900123"),
         Isolated(QStringLiteral("+44 7700 900123"))},
        {"an address alone in brackets", QStringLiteral("<a@b.example>"),
         QStringLiteral("<") + Isolated(QStringLiteral("a@b.example")) + QStringLiteral(">")},
        {"nothing", QString(), QString()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Shown(DisplayText::AddressEntry(c.entry)), Shown(c.shown)) << c.name;
    }
}
