#pragma once

// What the e-mail and SMS windows' tests share: a logged-in user with both save rights, the
// station's sender settings, a messages database of its own (SQLite under the test's
// ORLIX_HOME), the windows registered as the program registers them, and the save-rights
// matrix both windows answer alike.

#include "core/orlixcommon.h"
#include "core/profile/cocsettings.h"
#include "core/program.h"
#include "core/windows/windowopeners.h"
#include "messaging/bodyeditor.h"
#include "messaging/messagewindowcommands.h"
#include "messaging/messagingwindows.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/directory/userrights.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/system/appinfo.h"
#include "platform/ui/forms.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"

#include <QDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class MessageWindowTest : public ::testing::Test {
protected:
    static Program& program() { return Program::Instance(); }

    // The station's settings before the program takes them: each window turns on its own
    // sending.
    virtual void adjustSettings(cOCSettings& settings) = 0;

    void SetUp() override {
        program().SetOptions(StartupOptions::Parse(QStringLiteral("/NOPREVCHECK /Profile=Studio")));
        ASSERT_TRUE(InitialiseOrlix(QStringLiteral("SOFTWARE\\Kestova\\Orlix v1\\Client"), false));
        UnloadSplash();
        program().Windows().SetShower([](QWidget* w, bool) { w->show(); });
        InstallMessageWindows(program().Windows());
        // These tests run without the web engine (and under the sanitizers): the text body.
        SetBodyEditorFactory({});
        auto settings = std::make_unique<cOCSettings>();
        settings->SetEmailName(QStringLiteral("Studio"));
        settings->SetEmailAddress(QStringLiteral("studio@localhost"));
        settings->SetEmailAllowPersonalAddresses(true);
        adjustSettings(*settings);
        program().SettingsSlot() = std::move(settings);
        QString refusal;
        user = directory().CreateFirstUser(QStringLiteral("Ann"), QStringLiteral("ann"), QString(),
                                           &refusal);
        ASSERT_TRUE(user) << refusal.toStdString();
        bool ok = false;
        directory().LoginContact(user, 1, AppInfo::ProductName(), ok);
        ASSERT_TRUE(directory().CurrentUser());
        UserRights rights = directory().CurrentUser()->UserRights();
        rights.SetCanSaveMessages(true);
        rights.SetCanSavePersonalMessages(true);
        directory().CurrentUser()->SetUserRights(rights);
        const QString folder = TestHome() + QStringLiteral("/db");
        QDir().mkpath(folder);
        auto db = std::make_unique<OrlixDatabase>();
        ASSERT_EQ(db->OpenDatabase(folder), 0);
        program().SetDatabase(std::move(db));
        TestMessageBoxes().clear();
    }
    void TearDown() override {
        messagewindow::SetMessageListHooks({}, {});
        for (QWidget* w : Forms::All()) {
            delete w;
        }
        TerminateOrlix();
    }
    static KVDirectory& directory() { return *program().Directory(); }
    static OrlixDatabase& database() { return *program().Database(); }
    static cOCSettings& settings() { return *program().SettingsSlot(); }

    // Each case of who may save what: the user's rights and login set, a message of the kind
    // owned as the case says handed to save (a window's SaveDetails), then either the message
    // stored without a box or exactly the case's exclamation box.
    void checkSaveRights(qint32 kind,
                         const std::function<bool(const std::shared_ptr<OrlixMessage>&)>& save) {
        const qint32 me = directory().CurrentUser()->Reference();
        const struct {
            bool loggedIn;
            qint32 owner; // -1: the logged-in user
            bool canSave;
            bool canSavePersonal;
            bool dbOpen;
            const char* box; // "" when saved
        } cases[] = {
            {false, 0, true, true, true,
             "You must be logged in to the Kestova Directory before you can save any Messages"},
            {true, 0, false, true, true,
             "You do not have the nescessary Security Permissions to save Messages into the "
             "Directory"},
            {true, 999, false, true, true,
             "You do not have the nescessary Security Permissions to save Messages into the "
             "Directory"},
            {true, -1, true, false, true,
             "You do not have the nescessary Security Permissions to save Personal Messages into "
             "the Directory"},
            {true, -1, false, true, true, ""},
            {true, 0, true, false, true, ""},
            {true, 0, true, true, false, "Your message could not be saved to the Database"},
        };
        for (const auto& c : cases) {
            TestMessageBoxes().clear();
            const auto loggedIn = directory().CurrentUser();
            UserRights rights = loggedIn->UserRights();
            rights.SetCanSaveMessages(c.canSave);
            rights.SetCanSavePersonalMessages(c.canSavePersonal);
            loggedIn->SetUserRights(rights);
            if (!c.loggedIn) {
                directory().Logout();
            }
            auto message = std::make_shared<OrlixMessage>();
            message->SetKind(kind);
            message->SetPersonalOwner(c.owner == -1 ? me : c.owner);
            std::unique_ptr<OrlixDatabase> held;
            if (!c.dbOpen) {
                held = program().TakeDatabase();
            }
            const bool saved = save(message);
            if (held) {
                program().SetDatabase(std::move(held));
            }
            const std::string label = c.box;
            EXPECT_EQ(saved, QString::fromUtf8(c.box).isEmpty()) << label;
            if (saved) {
                EXPECT_TRUE(TestMessageBoxes().shown().empty());
                EXPECT_GT(message->Reference(), 0);
            } else {
                ASSERT_EQ(TestMessageBoxes().shown().size(), 1u) << label;
                EXPECT_EQ(TestMessageBoxes().shown()[0].text, QString::fromUtf8(c.box));
                EXPECT_EQ(TestMessageBoxes().shown()[0].icon, MsgIcon::Exclamation);
            }
            if (!c.loggedIn) {
                bool ok = false;
                directory().LoginContact(user, 1, AppInfo::ProductName(), ok);
            }
        }
    }

    std::shared_ptr<DirectoryContact> user;
};
