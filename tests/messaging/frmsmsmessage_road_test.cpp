// The SMS window end to end: what it sends is what the delivering program is handed.
#include "messaging/smswindowfixture.h"
#include "platform/ui/multilinetextbox.h"
#include "support/toolrun.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

ToolRun messagesTool(const QStringList& args) {
    return RunTool(QStringLiteral(ORLIX_MESSAGES_TOOL), args);
}

QString databaseFolder() {
    return TestHome() + QStringLiteral("/db");
}

QString utc(const QDateTime& when) {
    return when.toUTC().toString(Qt::ISODate);
}

// The references `due --at` lists at that time.
QStringList dueAt(const QDateTime& when) {
    const ToolRun run =
        messagesTool({QStringLiteral("due"), databaseFolder(), QStringLiteral("--at"), utc(when)});
    EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
    QStringList references;
    for (const QString& line : run.Out.split(u'\n', Qt::SkipEmptyParts)) {
        references += line.section(u'\t', 0, 0);
    }
    return references;
}

class SmsRoad : public SmsWindow {};

TEST_F(SmsRoad, AnSmsWrittenAndSentIsDueThirtySecondsLaterWithItsRecipientAndText) {
    const auto listener = contact(QStringLiteral("Smith, John"), QStringLiteral("07700900123"),
                                  QStringLiteral("01100000000"));
    frmSMSMessage* window = newWindow();
    ASSERT_NE(window, nullptr);
    chooseContact(listener->Reference());
    window->cmdTo()->click();
    window->txtBody()->setFocus();
    QTest::keyClicks(window->txtBody(), QStringLiteral("Your prize is at reception"));
    const std::shared_ptr<OrlixMessage> message = window->Message();
    const QDateTime before = QDateTime::currentDateTimeUtc();
    window->cmdSend()->click();
    const QDateTime after = QDateTime::currentDateTimeUtc();
    ASSERT_TRUE(TestMessageBoxes().shown().empty());
    ASSERT_GT(message->Reference(), 0);
    const QString reference = QString::number(message->Reference());

    EXPECT_FALSE(dueAt(before.addSecs(29)).contains(reference));
    EXPECT_TRUE(dueAt(after.addSecs(31)).contains(reference));

    const ToolRun shown = messagesTool({QStringLiteral("show"), databaseFolder(), reference});
    ASSERT_EQ(shown.Code, 0) << shown.Err.toStdString();
    const MimeMessage mime = MimeMessage::FromBytes(shown.Out.toUtf8());
    EXPECT_EQ(mime.To(), "\"Smith, John\" <07700900123>");
    EXPECT_EQ(mime.TextBody().trimmed(), "Your prize is at reception");
    EXPECT_TRUE(shown.Out.contains("text/plain", Qt::CaseInsensitive));
}

TEST_F(SmsRoad, AnImportedSmsOpensReadOnlyAndIsAnswered) {
    const QString file = TestHome() + QStringLiteral("/wish.sms");
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("From: 07700900123\nTo: 07700900100\nReceived: 2026-02-03T08:00:00Z\n\n"
                  "Can you play something by the Kestrels?\n");
    }
    const ToolRun imported =
        messagesTool({QStringLiteral("import"), databaseFolder(), QStringLiteral("--sms"), file});
    ASSERT_EQ(imported.Code, 0) << imported.Err.toStdString();
    const qint32 reference = imported.Out.section(u'\t', 0, 0).toInt();
    ASSERT_GT(reference, 0);
    // The messages list opens what it shows through the opener.
    std::shared_ptr<OrlixMessage> stored = database().GetMessage(reference);
    ASSERT_TRUE(stored);
    frmSMSMessage* window = open(stored);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->Editable());
    EXPECT_EQ(window->txtBody()->Text().trimmed(), "Can you play something by the Kestrels?");
    window->cmdReply()->click();
    const QList<frmSMSMessage*> open = windows();
    ASSERT_EQ(open.size(), 1);
    frmSMSMessage* reply = open.first();
    ASSERT_NE(reply, window);
    EXPECT_EQ(reply->ctlTo()->text(), "07700900123");
    reply->txtBody()->setFocus();
    QTest::keyClicks(reply->txtBody(), QStringLiteral("Coming up after the news"));
    const std::shared_ptr<OrlixMessage> answer = reply->Message();
    reply->cmdSend()->click();
    ASSERT_TRUE(TestMessageBoxes().shown().empty());
    ASSERT_GT(answer->Reference(), 0);
    EXPECT_TRUE(dueAt(QDateTime::currentDateTimeUtc().addSecs(31))
                    .contains(QString::number(answer->Reference())));
    const auto sent = database().GetMessage(answer->Reference());
    EXPECT_EQ(sent->CDOMessage().To(), "07700900123");
    EXPECT_EQ(sent->CDOMessage().TextBody(), "Coming up after the news");
    EXPECT_EQ(sent->Kind(), OrlixMessage::KindSms);
}

} // namespace
