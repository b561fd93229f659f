#pragma once

#include "core/orlixcommon.h"
#include "core/profile/cocsettings.h"
#include "core/program.h"
#include "core/windows/editwindows.h"
#include "core/windows/windowopeners.h"
#include "messagewindowfixture.h"
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

// The e-mail window's tests: the shared set-up with the station allowed to send e-mail.
class EmailWindow : public MessageWindowTest {
protected:
    void adjustSettings(cOCSettings& settings) override { settings.SetEmailSendEnabled(true); }

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
};
