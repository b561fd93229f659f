#include "chooserfixture.h"
#include "core/dialogs/contactlookup.h"
#include "core/dialogs/frmgoodinputbox.h"
#include "dialogtestkit.h"
#include "support/displaymarks.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"

#include <QComboBox>
#include <QPushButton>

namespace {
frmGoodInputBox& Box(QDialog& d) {
    return *qobject_cast<frmGoodInputBox*>(&d);
}

const QString kNoContact =
    QStringLiteral("No Contact could be found in the Directory with those details");

class ContactLookupTest : public ChooserFixture {
protected:
    QWidget* ByEmail(const QString& name, const QString& address) {
        return FindContactByEmail(directory.get(), name, address, &owner);
    }
    QWidget* ByPhone(const QString& name, const QString& address) {
        return FindContactByPhone(directory.get(), name, address, &owner);
    }

    // Picks the line at index in the chooser the look-up shows, and records its lines.
    ScriptedDialogs::Action PickLine(int index) {
        return [this, index](QDialog& d) {
            QComboBox* combo = Box(d).comboList();
            for (int i = 0; i < combo->count(); ++i) {
                lines << combo->itemText(i);
            }
            preselected = combo->currentIndex();
            combo->setCurrentIndex(index);
            Click(Box(d).cmdOk());
        };
    }

    QStringList lines;
    int preselected = -2;
    QWidget owner;
};
} // namespace

TEST_F(ContactLookupTest, AnAddressOfOneContactOpensItWithoutAChooser) {
    save(QStringLiteral("Ann Smith"), {}, QStringLiteral("ann@example.org"));
    const auto zoe = save(QStringLiteral("Zoe Ann"), {}, QStringLiteral("zoe@example.org"));
    EXPECT_EQ(ByEmail(QStringLiteral("Ann"), QStringLiteral("ZOE@example.org")), &window);
    ASSERT_EQ(opened.size(), 1U);
    EXPECT_EQ(opened[0].reference, zoe->Reference());
    EXPECT_EQ(opened[0].modal, 0);
    EXPECT_TRUE(TestDialogs().shown().empty());
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
}

TEST_F(ContactLookupTest, SeveralByNameAreOfferedByNameAndCompany) {
    save(QStringLiteral("Ann Smith"), QStringLiteral("Acme Ltd"));
    const auto jones = save(QStringLiteral("Ann Jones"));
    save(QStringLiteral("Bob Brown"));
    TestDialogs().queue(PickLine(0));
    EXPECT_EQ(ByEmail(QStringLiteral("ann"), QStringLiteral("nobody@example.org")), &window);
    ASSERT_EQ(TestDialogs().shown().size(), 1U);
    const auto& shown = TestDialogs().shown()[0];
    EXPECT_EQ(shown.title, QStringLiteral("Select Contact"));
    EXPECT_TRUE(shown.modal);
    EXPECT_EQ(shown.owner, &owner);
    // Name and company each isolated, as the display rule has them.
    EXPECT_EQ(lines, (QStringList{
                         Marked(QStringLiteral("\u00abAnn Jones\u00bb")),
                         Marked(QStringLiteral("\u00abAnn Smith\u00bb (\u00abAcme Ltd\u00bb)"))}));
    EXPECT_EQ(preselected, 0);
    ASSERT_EQ(opened.size(), 1U);
    EXPECT_EQ(opened[0].reference, jones->Reference());
}

TEST_F(ContactLookupTest, AlikeLinesOpenTheContactChosenByPosition) {
    save(QStringLiteral("Ann Smith"), {}, {}, QStringLiteral("01632 960001"));
    const auto second = save(QStringLiteral("Ann Smith"), {}, {}, QStringLiteral("01632 960001"));
    TestDialogs().queue(PickLine(1));
    ByPhone(QString(), QStringLiteral("960001"));
    const QString line = Marked(QStringLiteral("\u00abAnn Smith\u00bb"));
    EXPECT_EQ(lines, (QStringList{line, line}));
    ASSERT_EQ(opened.size(), 1U);
    EXPECT_EQ(opened[0].reference, second->Reference());
}

TEST_F(ContactLookupTest, CancellingTheChooserOpensNothingSilently) {
    save(QStringLiteral("Ann Smith"));
    save(QStringLiteral("Ann Jones"));
    TestDialogs().queue([](QDialog& d) { Click(Box(d).cmdCancel()); });
    EXPECT_EQ(ByPhone(QStringLiteral("Ann"), QStringLiteral("0800")), nullptr);
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
}

TEST_F(ContactLookupTest, APartOfAStoredNumberFindsIt) {
    const auto ann = save(QStringLiteral("Ann Smith"), {}, {}, QStringLiteral("01632 960001"));
    EXPECT_EQ(ByPhone(QStringLiteral("Someone else"), QStringLiteral(" 960001 ")), &window);
    ASSERT_EQ(opened.size(), 1U);
    EXPECT_EQ(opened[0].reference, ann->Reference());
}

TEST_F(ContactLookupTest, NobodyFoundTellsTheUserAndOpensNothing) {
    save(QStringLiteral("Ann \"Nan\" Smith"), {}, QStringLiteral("ann@example.org"),
         QStringLiteral("01632 960001"));
    save(QStringLiteral("Bob 100% Jones"), {}, QStringLiteral("bob@example.org"));
    // Blank values must not match everybody, and quotes and wildcards are only themselves.
    const struct {
        const char* name;
        const char* address;
        bool phone;
    } cases[] = {
        {"", "", false},
        {"  ", "   ", true},
        {"", "", true},
        {"*", "*", false},
        {"%%", "%", true},
        {"_", "_", false},
        {"\"\"", "\" or \"\"=\"", false},
        {"?", "*@example.org", false},
        {"Carl", "carl@example.org", false},
    };
    for (const auto& c : cases) {
        TestMessageBoxes().clear();
        const QString name = QString::fromUtf8(c.name);
        const QString address = QString::fromUtf8(c.address);
        EXPECT_EQ(c.phone ? ByPhone(name, address) : ByEmail(name, address), nullptr)
            << c.name << " / " << c.address;
        ASSERT_EQ(TestMessageBoxes().shown().size(), 1U) << c.name << " / " << c.address;
        EXPECT_EQ(TestMessageBoxes().shown()[0].text, kNoContact);
        EXPECT_EQ(TestMessageBoxes().shown()[0].icon, MsgIcon::Exclamation);
    }
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(TestDialogs().shown().empty());
}

TEST_F(ContactLookupTest, ABlankAddressStillSearchesByName) {
    const auto ann = save(QStringLiteral("Ann \"Nan\" Smith"));
    EXPECT_EQ(ByEmail(QStringLiteral(" \"Nan\" "), QStringLiteral("  ")), &window);
    ASSERT_EQ(opened.size(), 1U);
    EXPECT_EQ(opened[0].reference, ann->Reference());
}

TEST_F(ContactLookupTest, NoOpenerOrNoDirectoryOpensNothing) {
    save(QStringLiteral("Ann Smith"), {}, QStringLiteral("ann@example.org"));
    EXPECT_EQ(FindContactByEmail(nullptr, QStringLiteral("Ann"), QStringLiteral("ann@example.org"),
                                 nullptr),
              nullptr);
    SetOpenContactHook(nullptr);
    EXPECT_EQ(ByEmail(QStringLiteral("Ann"), QStringLiteral("ann@example.org")), nullptr);
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
}
