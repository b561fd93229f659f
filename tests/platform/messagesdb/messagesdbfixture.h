#pragma once

#include "platform/messagesdb/messagemime.h"
#include "platform/messagesdb/messagesstorage.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixmessagelist.h"
#include "platform/system/platformlog.h"
#include "support/testhome.h"

#include <QDateTime>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
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

    // Stores copies of a stored message's row straight into the file, each a little older,
    // for lists longer than storing one by one would make in a test's time.
    void storeCopies(qint32 reference, int copies) {
        {
            QSqlDatabase raw =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("copies"));
            raw.setDatabaseName(folder_ + QStringLiteral("/") +
                                QLatin1String(MessagesStorage::kFileName));
            ASSERT_TRUE(raw.open());
            QSqlQuery q(raw);
            ASSERT_TRUE(q.exec(QStringLiteral("SELECT name FROM pragma_table_info('messages')")));
            QStringList columns;
            while (q.next()) {
                if (q.value(0).toString() != QLatin1String("reference")) {
                    columns << q.value(0).toString();
                }
            }
            QStringList picked = columns;
            picked.replaceInStrings(QStringLiteral("received_utc"),
                                    QStringLiteral("received_utc - n.i"));
            ASSERT_TRUE(
                q.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT "
                                      "i + 1 FROM n WHERE i < %1) INSERT INTO messages "
                                      "(%2) SELECT %3 FROM messages, n WHERE reference = %4")
                           .arg(copies)
                           .arg(columns.join(QLatin1Char(',')), picked.join(QLatin1Char(',')))
                           .arg(reference)))
                << q.lastError().text().toStdString();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("copies"));
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
