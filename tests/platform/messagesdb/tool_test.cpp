#include "messagesdbfixture.h"
#include "support/toolrun.h"

#include <QFile>

namespace {
ToolRun tool(const QStringList& args) {
    return RunTool(QStringLiteral(ORLIX_MESSAGES_TOOL), args);
}

QString fixture(const char* name) {
    return QStringLiteral(ORLIX_FIXTURES "/messages/") + QLatin1String(name);
}
} // namespace

TEST_F(MessagesDbTest, TheToolCreatesImportsAndListsMessages) {
    ToolRun r = tool({QStringLiteral("create"), folder_});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.contains(QStringLiteral("Created a new messages database")));

    r = tool({QStringLiteral("import"), folder_, fixture("listener-request.eml"),
              fixture("hostile-listener.eml")});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    r = tool(
        {QStringLiteral("import"), folder_, QStringLiteral("--sms"), fixture("traffic-tip.sms")});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();

    r = tool({QStringLiteral("list"), folder_, QStringLiteral("--folder"), QStringLiteral("3")});
    ASSERT_EQ(r.Code, 0);
    const QStringList lines = r.Out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << r.Out.toStdString();
    EXPECT_TRUE(r.Out.contains(QStringLiteral("\t3\t2\t2026-12-10T07:30:00Z\t+44 7700 900123\t")));
    EXPECT_TRUE(r.Out.contains(QStringLiteral("Request for the breakfast show")));

    open();
    auto list = db_->GetMessages(QStringLiteral("[Kind]=2"));
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Item(1)->BodyText(),
              QStringLiteral("Traffic jam on the ring road, avoid junction 4!"));
    EXPECT_EQ(list->Item(1)->ReceivedDate().toUTC(),
              QDateTime(QDate(2026, 12, 10), QTime(7, 30), Qt::UTC));
}

TEST_F(MessagesDbTest, TheToolHandsOutDueOutboxMessagesAndMarksThemSent) {
    open();
    auto m =
        email(QStringLiteral("Your prize is on its way"), QStringLiteral("studio@station.example"),
              QStringLiteral("Congratulations!"), QStringLiteral("ann@example.org"));
    m->SetFolder(OrlixMessage::kOutboxFolder);
    m->SetFlags(OrlixMessage::FlagToBeSent);
    m->SetSendAfterDate(QDateTime::currentDateTime().addSecs(-1));
    bool ok = false;
    db_->StoreMessage(*m, ok);
    ASSERT_TRUE(ok);

    ToolRun r = tool({QStringLiteral("due"), folder_});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Out.startsWith(QString::number(m->Reference()) + QStringLiteral("\t2\t1\t")));
    EXPECT_TRUE(r.Out.contains(QStringLiteral("ann@example.org\tYour prize is on its way")));

    r = tool({QStringLiteral("show"), folder_, QString::number(m->Reference())});
    ASSERT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out.toUtf8(), m->MessageBytes());

    r = tool({QStringLiteral("mark-sent"), folder_, QString::number(m->Reference())});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    r = tool({QStringLiteral("due"), folder_});
    EXPECT_EQ(r.Out, QString());
    auto sent = db_->GetMessage(m->Reference());
    EXPECT_EQ(sent->Folder(), OrlixDatabase::kSentFolder);
    EXPECT_TRUE(sent->SentDate().isValid());
}

TEST_F(MessagesDbTest, TheToolRefusesBadInputWithAnErrorCode) {
    EXPECT_EQ(tool({}).Code, 1);
    EXPECT_EQ(tool({QStringLiteral("--help")}).Code, 0);
    EXPECT_EQ(tool({QStringLiteral("frobnicate"), folder_}).Code, 1);
    EXPECT_EQ(tool({QStringLiteral("list"), folder_ + QStringLiteral("/missing")}).Code, 2);
    EXPECT_EQ(tool({QStringLiteral("show"), folder_, QStringLiteral("abc")}).Code, 1);
    ASSERT_EQ(tool({QStringLiteral("create"), folder_}).Code, 0);
    EXPECT_EQ(tool({QStringLiteral("show"), folder_, QStringLiteral("99")}).Code, 2);
    EXPECT_EQ(tool({QStringLiteral("mark-sent"), folder_, QStringLiteral("99")}).Code, 2);
    const QString notSms = TestHome() + QStringLiteral("/bad.sms");
    QFile f(notSms);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("just some text without headers\n");
    f.close();
    const ToolRun r = tool({QStringLiteral("import"), folder_, QStringLiteral("--sms"), notSms});
    EXPECT_EQ(r.Code, 2);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("is not an SMS")));
}
