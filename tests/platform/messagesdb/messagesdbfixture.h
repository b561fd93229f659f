#pragma once

#include "platform/messagesdb/messagemime.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixmessagelist.h"
#include "platform/system/platformlog.h"
#include "support/testhome.h"

#include <QDateTime>
#include <QDir>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// A database folder of the test's own, opened, and the log lines the platform wrote.
class MessagesDbTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = TestHome() + QStringLiteral("/Messages");
        QDir().mkpath(folder_);
        SetPlatformLogHandler([this](const QString& text, int) { log_ << text; });
        db_ = std::make_unique<OrlixDatabase>();
        db_->SetChangeWatch(0, 0);
    }
    void TearDown() override { SetPlatformLogHandler(nullptr); }

    void open() {
        ASSERT_EQ(db_->OpenDatabase(folder_, QString()), 0) << log_.join('\n').toStdString();
    }

    bool logged(const QString& part) const {
        for (const QString& line : log_) {
            if (line.contains(part)) {
                return true;
            }
        }
        return false;
    }

    static std::unique_ptr<OrlixMessage>
    email(const QString& subject,
          const QString& from = QStringLiteral("Ann Listener <ann@example.org>"),
          const QString& body = QStringLiteral("Please play my song."),
          const QString& to = QStringLiteral("studio@station.example")) {
        auto m = std::make_unique<OrlixMessage>();
        m->SetCDOMessage(
            MimeMessage::FromBytes(BuildTextMessage(from, to, subject, body, QDateTime())));
        return m;
    }

    // Stores a received message in the Inbox; its Reference.
    qint32 storeReceived(const QString& subject, const QDateTime& receivedUtc,
                         qint32 kind = OrlixMessage::KindEmail) {
        auto m = email(subject);
        m->SetKind(kind);
        m->SetFolder(OrlixDatabase::kInboxFolder);
        m->SetReceivedDate(receivedUtc);
        bool ok = false;
        db_->StoreMessage(*m, ok);
        EXPECT_TRUE(ok) << log_.join('\n').toStdString();
        return m->Reference();
    }

    QString folder_;
    QStringList log_;
    std::unique_ptr<OrlixDatabase> db_;
};
