#include "core/profile/cocsettings.h"
#include "mainwindow/mainwindowvisibility.h"

#include <gtest/gtest.h>

#include <ostream>

void PrintTo(const SettingsVisibility& v, std::ostream* os) {
    *os << "{playout " << v.playout << ", sendAndReply " << v.sendAndReply << ", email " << v.email
        << ", sms " << v.sms << '}';
}

void PrintTo(const UserAccess& a, std::ostream* os) {
    *os << "{settings " << a.settingsMenu << ", directorySettings " << a.directorySettingsMenu
        << ", newMessage " << a.displayNewMessage << ", scripts " << a.createScripts << '}';
}

namespace {
TEST(VisibilityForSettings, PlayoutItemsAndMessageButtons) {
    struct Case {
        const char* name;
        const char* computer;
        bool email;
        bool sms;
        SettingsVisibility shown;
    };
    const Case cases[] = {
        {"everything", "studio-playout", true, true, {true, true, true, true}},
        {"no playout computer", "", true, true, {false, true, true, true}},
        {"e-mail only", "", true, false, {false, true, true, false}},
        {"SMS only", "studio-playout", false, true, {true, true, false, true}},
        {"no sending: no reply or forward either",
         "studio-playout",
         false,
         false,
         {true, false, false, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        cOCSettings settings;
        settings.SetVorelaComputerName(QString::fromUtf8(c.computer));
        settings.SetEmailSendEnabled(c.email);
        settings.SetSMSSendEnabled(c.sms);
        EXPECT_EQ(VisibilityForSettings(settings), c.shown);
    }
}

TEST(AccessForUser, RightsEmailAndTheNoSettingsOption) {
    struct Case {
        const char* name;
        quint32 rights;
        quint32 directoryRights;
        bool email;
        bool noSettings;
        UserAccess access;
    };
    const Case cases[] = {
        {"every right",
         UserRights::All,
         DirectoryRights::All,
         true,
         false,
         {true, true, true, true}},
        {"no rights", 0, 0, true, false, {false, false, false, false}},
        {"/NOSETTINGS outranks the right",
         UserRights::All,
         DirectoryRights::All,
         true,
         true,
         {false, true, true, true}},
        {"saving messages without e-mail sending offers no new message",
         UserRights::All,
         DirectoryRights::All,
         false,
         false,
         {true, true, false, true}},
        {"only saving messages",
         UserRights::SaveMessages,
         0,
         true,
         false,
         {false, false, true, false}},
        {"personal messages are not messages",
         UserRights::SavePersonalMessages,
         0,
         true,
         false,
         {false, false, false, false}},
        {"only the directory's settings",
         0,
         DirectoryRights::ChangeDirectorySettings,
         true,
         true,
         {false, true, false, false}},
        {"only scripts",
         UserRights::CreateScripts,
         DirectoryRights::SaveContacts,
         true,
         false,
         {false, false, false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AccessForUser(UserRights(c.rights), DirectoryRights(c.directoryRights), c.email,
                                c.noSettings),
                  c.access);
        EXPECT_EQ(DisplaysNewMessage(UserRights(c.rights), c.email), c.access.displayNewMessage);
    }
}
} // namespace
