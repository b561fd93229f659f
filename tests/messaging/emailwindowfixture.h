#pragma once

#include "core/orlixcommon.h"
#include "core/profile/cocsettings.h"
#include "core/program.h"
#include "core/windows/editwindows.h"
#include "core/windows/windowopeners.h"
#include "messaging/frmmessage.h"
#include "messaging/messagingwindows.h"
#include "messaging/safebodyview.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/directory/userrights.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixmessagelist.h"
#include "platform/mime/mimemessage.h"
#include "platform/system/appinfo.h"
#include "platform/ui/forms.h"
#include "platform/ui/umessageaddress.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"
#include <gtest/gtest.h>
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTcpServer>

// A logged-in user with both save rights, the station's sender, a messages database of its
// own and the message windows registered.
class EmailWindow : public ::testing::Test {
protected:
    static Program& program() { return Program::Instance(); }

    void SetUp() override {
        program().SetOptions(StartupOptions::Parse(QStringLiteral("/NOPREVCHECK /Profile=Studio")));
        ASSERT_TRUE(InitialiseOrlix(QStringLiteral("SOFTWARE\\Kestova\\Orlix v1\\Client"), false));
        UnloadSplash();
        program().Windows().SetShower([](QWidget* w, bool) { w->show(); });
        InstallMessageWindows(program().Windows());
        auto settings = std::make_unique<cOCSettings>();
        settings->SetEmailName(QStringLiteral("Studio"));
        settings->SetEmailAddress(QStringLiteral("studio@localhost"));
        settings->SetEmailSendEnabled(true);
        settings->SetEmailAllowPersonalAddresses(true);
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
        frmMessage::SetMessageListHooks({}, {});
        for (QWidget* w : Forms::All()) {
            delete w;
        }
        TerminateOrlix();
    }
    static KVDirectory& directory() { return *program().Directory(); }
    static OrlixDatabase& database() { return *program().Database(); }
    static cOCSettings& settings() { return *program().SettingsSlot(); }

    // A listener's e-mail as received: dated, in the Inbox, stored.
    static std::shared_ptr<OrlixMessage> received(const QString& html = QString()) {
        auto message = std::make_shared<OrlixMessage>();
        MimeMessage mime;
        mime.SetFrom(QStringLiteral("\"Smith, Ann\" <ann@example.org>"));
        mime.SetTo(QStringLiteral("\"Studio\" <studio@localhost>, other@example.org"));
        mime.SetSubject(QStringLiteral("Request"));
        mime.SetTextBody(QStringLiteral("Play my song"));
        if (!html.isEmpty()) {
            mime.SetHTMLBody(html);
        }
        message->SetCDOMessage(mime);
        message->SetFolder(OrlixDatabase::kInboxFolder);
        message->SetSentDate(QDateTime(QDate(2026, 2, 3), QTime(8, 0)));
        message->SetReceivedDate(QDateTime(QDate(2026, 2, 3), QTime(8, 1)));
        bool ok = false;
        database().StoreMessage(*message, ok);
        EXPECT_TRUE(ok);
        return message;
    }

    static frmMessage* open(const std::shared_ptr<OrlixMessage>& message) {
        return qobject_cast<frmMessage*>(OpenMessage(message, 0).data());
    }
    static frmMessage* newWindow() {
        std::shared_ptr<OrlixMessage> message;
        return qobject_cast<frmMessage*>(NewMessage(message, OrlixMessage::KindEmail).data());
    }
    static QList<frmMessage*> windows() { return Forms::OfKind<frmMessage>(); }

    std::shared_ptr<DirectoryContact> user;
};
