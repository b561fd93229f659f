#pragma once

// The SMS window's tests: the shared set-up with the station allowed to send SMS and its SMS
// number in the messages database.

#include "core/dialogs/frmchoosecategorytree.h"
#include "core/dialogs/frmchoosecontact.h"
#include "core/orlixcommon.h"
#include "core/profile/cocsettings.h"
#include "core/profile/machinesettingskeys.h"
#include "core/program.h"
#include "core/windows/windowopeners.h"
#include "messagewindowfixture.h"
#include "messaging/frmsmsmessage.h"
#include "messaging/messagingwindows.h"
#include "platform/directory/controls/ucontactslist.h"
#include "platform/directory/directorycontact.h"
#include "platform/directory/kvdirectory.h"
#include "platform/directory/userrights.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/mime/mimemessage.h"
#include "platform/system/appinfo.h"
#include "platform/system/registrystore.h"
#include "platform/ui/forms.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/testhome.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

constexpr qint32 kSms = OrlixMessage::KindSms;

class SmsWindow : public MessageWindowTest {
protected:
    void adjustSettings(cOCSettings& settings) override { settings.SetSMSSendEnabled(true); }

    void SetUp() override {
        MessageWindowTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        bool ok = false;
        database().SetStationDetails(
            {QStringLiteral("Radio Kestova"), {}, {}, QStringLiteral("07700900100"), {}, {}}, ok);
        ASSERT_TRUE(ok);
    }

    static void mask(bool on) {
        RegistryStore::WriteNumber(RegistryRoot::LocalMachine, MachineSettingsKeys::MakerKey(),
                                   QString::fromUtf8(MachineSettingsKeys::kMaskPhoneNumbers),
                                   on ? 1 : 0);
    }

    static KVDirectory::ContactPtr contact(const QString& name, const QString& mobile,
                                           const QString& phone1 = {}, const QString& phone2 = {}) {
        auto c = directory().CreateContact();
        c->SetName(name);
        c->SetMobileNumber(mobile);
        c->SetPhoneNumber1(phone1);
        c->SetPhoneNumber2(phone2);
        bool ok = false;
        directory().SaveContact(0, c, true, true, ok);
        EXPECT_TRUE(ok);
        return c;
    }

    static void store(OrlixMessage& message) {
        bool ok = false;
        database().StoreMessage(message, ok);
        EXPECT_TRUE(ok);
    }

    // A listener's SMS as the import files it: dated, in the Inbox, stored.
    static std::shared_ptr<OrlixMessage> received(const QString& from = "07700900123",
                                                  const QString& text = "Play my song") {
        auto message = std::make_shared<OrlixMessage>();
        MimeMessage mime;
        mime.SetFrom(from);
        mime.SetTo(QStringLiteral("07700900100"));
        mime.SetSubject(text);
        mime.SetTextBody(text);
        message->SetCDOMessage(mime);
        message->SetKind(kSms);
        message->SetFolder(OrlixDatabase::kInboxFolder);
        message->SetInheritedValue(17);
        message->SetFlags(OrlixMessage::FlagRead);
        message->SetSentDate(QDateTime(QDate(2026, 2, 3), QTime(8, 0)));
        message->SetReceivedDate(QDateTime(QDate(2026, 2, 3), QTime(8, 1)));
        store(*message);
        return message;
    }

    static frmSMSMessage* open(const std::shared_ptr<OrlixMessage>& message) {
        return qobject_cast<frmSMSMessage*>(OpenMessage(message, 0).data());
    }
    static frmSMSMessage* newWindow() {
        std::shared_ptr<OrlixMessage> message;
        return qobject_cast<frmSMSMessage*>(NewMessage(message, kSms).data());
    }
    static QList<frmSMSMessage*> windows() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return Forms::OfKind<frmSMSMessage>();
    }
    // The chooser answered with the contact picked and OK.
    static void chooseContact(qint32 reference) {
        TestDialogs().queue([reference](QDialog& d) {
            auto& chooser = dynamic_cast<frmChooseContact&>(d);
            chooser.ctlContacts()->SetSelectedReference(reference);
            chooser.cmdOK()->click();
        });
    }
    // The folder chooser answered with the folder picked and OK.
    static void chooseFolder(qint32 folder, std::function<void()> then = {}) {
        TestDialogs().queue([folder, then](QDialog& d) {
            auto& chooser = dynamic_cast<frmChooseCategoryTree&>(d);
            for (QTreeWidgetItemIterator it(chooser.treeCategories); *it; ++it) {
                if (frmChooseCategoryTree::FolderOfKey((*it)->data(0, Qt::UserRole).toString()) ==
                    folder) {
                    chooser.treeCategories->setCurrentItem(*it);
                }
            }
            chooser.cmdOK->click();
            if (then) {
                then();
            }
        });
    }
    static std::vector<QString> boxTexts() {
        std::vector<QString> texts;
        for (const auto& b : TestMessageBoxes().shown()) {
            texts.push_back(b.text);
        }
        return texts;
    }
};
