#include "contacts/contactsaverules.h"
#include "contacts/contactwindowlayout.h"
#include "platform/directory/directorycontact.h"

#include <gtest/gtest.h>

namespace {

using namespace ContactSaveRules;

DirectoryRights rights(quint32 bits) {
    return DirectoryRights(bits);
}

TEST(ContactSaveRulesTest, RightsAgainstTheContact) {
    constexpr qint32 me = 7;
    const quint32 contacts = DirectoryRights::SaveContacts;
    const quint32 personal = DirectoryRights::SavePersonalContacts;
    const quint32 users = DirectoryRights::SaveUsers;
    struct Case {
        const char* name;
        quint32 bits;
        qint32 owner;
        const char* login;
        QString refusal;
        bool warnUsers;
    };
    const Case cases[] = {
        {"shared contact, contacts right", contacts, 0, "", QString(), false},
        {"shared contact, personal right only", personal, 0, "", NoContactsRightText(), false},
        {"own personal, personal right only", personal, me, "", QString(), false},
        {"own personal, contacts right only", contacts, me, "", NoPersonalRightText(), false},
        {"another user's personal, personal right", personal, 9, "", NoContactsRightText(), false},
        {"another user's personal, contacts right", contacts, 9, "", QString(), false},
        {"a user, no users right: warned, goes on", contacts, 0, "bob", QString(), true},
        {"a user, users right", contacts | users, 0, "bob", QString(), false},
        {"own record, no users right", contacts, 0, "me", QString(), true},
        {"a user, no contacts right: refused first", users, 0, "bob", NoContactsRightText(), false},
    };
    for (const Case& c : cases) {
        const Verdict v = Check(me, rights(c.bits), c.owner, QString::fromLatin1(c.login));
        EXPECT_EQ(v.refusal, c.refusal) << c.name;
        EXPECT_EQ(v.warnUsers, c.warnUsers) << c.name;
    }
}

TEST(ContactSaveRulesTest, CloseQuestionNamesTheContactWhenItHasAName) {
    EXPECT_EQ(CloseQuestion(QStringLiteral("  Ann Smith ")),
              QStringLiteral("Do you want to save the changes you made to the Contact 'Ann "
                             "Smith'?"));
    for (const QString& blank : {QString(), QStringLiteral("   ")}) {
        EXPECT_EQ(CloseQuestion(blank),
                  QStringLiteral("Do you want to save the changes you made to this Contact?"));
    }
}

TEST(ContactSaveRulesTest, LabelTextIsNameCompanyAndAddress) {
    struct Case {
        const char* company;
        const char* address;
        const char* label;
    };
    const Case cases[] = {
        {"Acme Ltd", "1 High St\r\nTown", "Ann\r\nAcme Ltd\r\n1 High St\r\nTown"},
        {"", "1 High St\r\nTown", "Ann\r\n1 High St\r\nTown"},
        {"Acme Ltd", "  \r\n ", ""},
        {"Acme Ltd", "", ""},
        {"", " 2 Low Rd ", "Ann\r\n 2 Low Rd "}, // the address as stored
    };
    for (const Case& c : cases) {
        DirectoryContact contact;
        contact.SetName(QStringLiteral("Ann"));
        contact.SetCompany(QString::fromLatin1(c.company));
        contact.SetAddress(QString::fromLatin1(c.address));
        EXPECT_EQ(LabelText(contact), QString::fromLatin1(c.label)) << c.address;
    }
}

TEST(ContactWindowLayoutTest, PlacesEveryControlFromTheInnerSize) {
    ContactWindowLayout::Input in;
    in.width = 6750;
    in.height = 7065;
    in.toolbarTop = 0;
    in.toolbarHeight = 420;
    in.okWidth = 1095;
    in.okHeight = 375;
    in.cancelWidth = 1095;
    in.cancelHeight = 375;
    in.contactTop = 540;
    in.pageLeft = 30;
    in.pageTop = 360;
    in.pageWidth = 6500;
    in.pageHeight = 5500;
    in.messagesOtherColumns = 3250;
    in.prizesOtherColumns = 1500;
    const auto out = ContactWindowLayout::Compute(in);
    using R = ContactWindowLayout::Rect;
    EXPECT_EQ(out.lineDarkTop, 435);
    EXPECT_EQ(out.lineLightTop, 450);
    EXPECT_EQ(out.lineWidth, 6750);
    EXPECT_EQ(out.cancel, (R{6750 - 180 - 1095, 7065 - 90 - 375, 1095, 375}));
    EXPECT_EQ(out.ok, (R{out.cancel.left - 60 - 1095, out.cancel.top, 1095, 375}));
    EXPECT_EQ(out.contact, (R{60, 540, 6750 - 120, out.cancel.top - 90 - 540}));
    EXPECT_EQ(out.frame, (R{60 + 30 + 120, 540 + 360 + 60, 6500 - 240, 5500 - 180}));
    EXPECT_EQ(out.list, (R{180, 300, out.frame.width - 360, out.frame.height - 540}));
    EXPECT_EQ(out.messagesFillWidth, out.list.width - 225 - 90 - 3250);
    EXPECT_EQ(out.prizesFillWidth, out.list.width - 225 - 90 - 1500);
}

TEST(ContactWindowLayoutTest, ATinyWindowGetsNoNegativeSize) {
    ContactWindowLayout::Input in;
    in.width = 100;
    in.height = 100;
    in.okWidth = 1095;
    in.okHeight = 375;
    in.cancelWidth = 1095;
    in.cancelHeight = 375;
    in.contactTop = 540;
    in.pageWidth = 50;
    in.pageHeight = 50;
    in.messagesOtherColumns = 3250;
    const auto out = ContactWindowLayout::Compute(in);
    for (const auto& r : {out.ok, out.cancel, out.contact, out.frame, out.list}) {
        EXPECT_GE(r.width, 0);
        EXPECT_GE(r.height, 0);
    }
    EXPECT_EQ(out.contact.height, 0);
    EXPECT_EQ(out.messagesFillWidth, 0);
    EXPECT_EQ(out.prizesFillWidth, -1); // a list without columns is left alone
}

} // namespace
