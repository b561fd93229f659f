#include "platform/ui/umessageaddress.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {
using Entry = uMessageAddress::Entry;

TEST(MessageAddress, TextComposesEachEntryAndIsAFixedPoint) {
    const struct {
        const char* given;
        const char* text;
        QList<Entry> entries;
    } cases[] = {
        {"ann@example.org", "ann@example.org", {{"", "ann@example.org"}}},
        {"<ann@example.org>", "ann@example.org", {{"", "ann@example.org"}}},
        {"Ann <ann@example.org>", "Ann <ann@example.org>", {{"Ann", "ann@example.org"}}},
        {"\"Smith, Ann\" <ann@example.org>",
         "\"Smith, Ann\" <ann@example.org>",
         {{"Smith, Ann", "ann@example.org"}}},
        {"\"Ann \\\"DJ\\\" Smith\" <ann@example.org>",
         "\"Ann \\\"DJ\\\" Smith\" <ann@example.org>",
         {{"Ann \"DJ\" Smith", "ann@example.org"}}},
        {"\"a <b>\" <ann@example.org>",
         "\"a <b>\" <ann@example.org>",
         {{"a <b>", "ann@example.org"}}},
        {" ann@example.org ,, Bob <bob@example.org>,",
         "ann@example.org, Bob <bob@example.org>",
         {{"", "ann@example.org"}, {"Bob", "bob@example.org"}}},
        {"<b>Bold</b> <x@example.org>",
         "\"<b>Bold</b>\" <x@example.org>",
         {{"<b>Bold</b>", "x@example.org"}}},
        {"", "", {}},
    };
    for (const auto& c : cases) {
        const QString given = QString::fromUtf8(c.given);
        EXPECT_EQ(uMessageAddress::Entries(given), c.entries) << c.given;
        uMessageAddress box;
        box.SetText(given);
        EXPECT_EQ(box.Text(), QString::fromUtf8(c.text)) << c.given;
        // Text read back gives itself.
        uMessageAddress again;
        again.SetText(box.Text());
        EXPECT_EQ(again.Text(), box.Text()) << c.given;
        EXPECT_EQ(uMessageAddress::Entries(box.Text()), c.entries) << c.given;
    }
}

TEST(MessageAddress, AddAddressTakesEitherFormAndAppends) {
    const struct {
        const char* name;
        const char* address;
        const char* text;
    } cases[] = {
        {"", "ann@example.org", "ann@example.org"},
        {"", "<ann@example.org>", "ann@example.org"},
        {"Ann", "<ann@example.org>", "Ann <ann@example.org>"},
        {"Smith, Ann", "ann@example.org", "\"Smith, Ann\" <ann@example.org>"},
        {"\"Smith, Ann\"", "ann@example.org", "\"Smith, Ann\" <ann@example.org>"},
        {"Ann", "", ""},
    };
    for (const auto& c : cases) {
        uMessageAddress box;
        box.AddAddress(QString::fromUtf8(c.name), QString::fromUtf8(c.address));
        EXPECT_EQ(box.Text(), QString::fromUtf8(c.text)) << c.name << " " << c.address;
    }
    uMessageAddress box;
    box.AddAddress(QStringLiteral("Smith, Ann"), QStringLiteral("ann@example.org"));
    box.AddAddress(QString(), QStringLiteral("bob@example.org"));
    EXPECT_EQ(box.Text(), QStringLiteral("\"Smith, Ann\" <ann@example.org>, bob@example.org"));
}

TEST(MessageAddress, TypingAndProgramChangesRaiseAddressChanged) {
    uMessageAddress box;
    QSignalSpy changed(&box, &uMessageAddress::AddressChanged);
    box.SetText(QStringLiteral("ann@example.org"));
    EXPECT_EQ(changed.count(), 1);
    box.AddAddress(QStringLiteral("Bob"), QStringLiteral("bob@example.org"));
    EXPECT_EQ(changed.count(), 2);
    QTest::keyClicks(&box, QStringLiteral("x"));
    EXPECT_EQ(changed.count(), 3);
}

TEST(MessageAddress, AClickGivesTheEntryUnderItOnlyWithLinks) {
    uMessageAddress box;
    box.resize(600, 24);
    box.SetText(QStringLiteral("\"Smith, Ann\" <ann@example.org>, bob@example.org"));
    QSignalSpy clicked(&box, &uMessageAddress::AddressClicked);
    Entry entry;
    ASSERT_TRUE(box.EntryAt(3, entry));
    EXPECT_EQ(entry, (Entry{QStringLiteral("Smith, Ann"), QStringLiteral("ann@example.org")}));
    ASSERT_TRUE(box.EntryAt(static_cast<int>(box.text().size()), entry));
    EXPECT_EQ(entry, (Entry{QString(), QStringLiteral("bob@example.org")}));

    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(4, 12));
    EXPECT_EQ(clicked.count(), 0);
    box.SetDisplayAddressLinks(true);
    box.setReadOnly(true);
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(4, 12));
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toString(), QStringLiteral("Smith, Ann"));
    EXPECT_EQ(clicked.at(0).at(1).toString(), QStringLiteral("ann@example.org"));
}

} // namespace
