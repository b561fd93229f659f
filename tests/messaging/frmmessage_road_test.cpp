// The way a listener's e-mail travels: imported by the receiving program, opened, answered,
// sent to the Outbox and handed to the delivering program, all through the real components.
#include "emailwindowfixture.h"
#include "support/toolrun.h"
#include "support/waitfor.h"

#include <QApplication>
#include <QTextCursor>

namespace {

ToolRun messagesTool(const QStringList& args) {
    return RunTool(QStringLiteral(ORLIX_MESSAGES_TOOL), args);
}

QString dbFolder() {
    return TestHome() + QStringLiteral("/db");
}

const QString kSubject = QStringLiteral("Grüße aus Zürich – Wunsch");

class EmailRoad : public EmailWindow {
protected:
    // The listener's e-mail as the receiving program stores it, and its reference.
    qint32 importWish() {
        const ToolRun r =
            messagesTool({QStringLiteral("import"), dbFolder(),
                          QStringLiteral(ORLIX_FIXTURES "/messages/listener-wish.eml")});
        EXPECT_EQ(r.Code, 0) << r.Err.toStdString();
        return r.Out.section(QLatin1Char('\t'), 0, 0).toInt();
    }

    frmMessage* openStored(qint32 reference) {
        auto stored = database().GetMessage(reference);
        EXPECT_TRUE(stored);
        return stored ? open(std::shared_ptr<OrlixMessage>(std::move(stored))) : nullptr;
    }

    // The window opened after the shown one closed for an answer.
    frmMessage* answer(frmMessage* shown, QPushButton* button) {
        button->click();
        EXPECT_FALSE(Forms::Contains(shown));
        const QList<frmMessage*> open = windows();
        return open.size() == 1 ? open.front() : nullptr;
    }
};

TEST_F(EmailRoad, AReplyTravelsFromTheImportToTheDeliveringProgram) {
    const qint32 reference = importWish();
    ASSERT_GT(reference, 0);
    frmMessage* shown = openStored(reference);
    ASSERT_NE(shown, nullptr);
    EXPECT_FALSE(shown->Editable());
    EXPECT_TRUE(shown->lblDate()->isVisibleTo(shown));
    EXPECT_FALSE(shown->lblDate()->text().isEmpty());
    for (QPushButton* b : {shown->cmdReply(), shown->cmdReplyAll(), shown->cmdForward()}) {
        EXPECT_TRUE(b->isVisibleTo(shown)) << b->text().toStdString();
    }
    EXPECT_EQ(shown->txtSubject()->text(), kSubject);
    EXPECT_EQ(shown->ctlFrom()->Text(), QStringLiteral("\"Smith, Ann\" <ann@example.org>"));

    frmMessage* reply = answer(shown, shown->cmdReply());
    ASSERT_NE(reply, nullptr);
    EXPECT_TRUE(reply->Editable());
    EXPECT_EQ(reply->ctlTo()->Text(), QStringLiteral("\"Smith, Ann\" <ann@example.org>"));
    EXPECT_EQ(reply->txtSubject()->text(), QStringLiteral("RE: ") + kSubject);
    EXPECT_TRUE(reply->wbBody()->toPlainText().contains(QStringLiteral("Bitte spielt etwas")));
    reply->show();
    reply->activateWindow();
    ASSERT_TRUE(WaitFor([&] { return reply->Activated(); }));
    EXPECT_EQ(reply->focusWidget(), reply->wbBody());
    EXPECT_EQ(reply->wbBody()->textCursor().position(), 0);

    const std::shared_ptr<OrlixMessage> sent = reply->Message();
    const QDateTime before = QDateTime::currentDateTimeUtc();
    reply->cmdSend()->click();
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    ASSERT_GT(sent->Reference(), 0);

    ToolRun r = messagesTool({QStringLiteral("due"), dbFolder()});
    EXPECT_EQ(r.Out, QString());
    const QString later = before.addSecs(31).toString(Qt::ISODate);
    r = messagesTool({QStringLiteral("due"), dbFolder(), QStringLiteral("--at"), later});
    const QStringList due = r.Out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(due.size(), 1) << r.Out.toStdString();
    EXPECT_EQ(due.front().section(QLatin1Char('\t'), 0, 0).toInt(), sent->Reference());

    r = messagesTool({QStringLiteral("show"), dbFolder(), QString::number(sent->Reference())});
    ASSERT_EQ(r.Code, 0);
    const QByteArray bytes = r.Out.toUtf8();
    EXPECT_TRUE(bytes.contains("\nIn-Reply-To: <wish-7@example.org>"));
    EXPECT_TRUE(bytes.contains("\nReferences: <wish-7@example.org>"));
    EXPECT_TRUE(bytes.contains("\nDate: "));
    const MimeMessage delivered = MimeMessage::FromBytes(bytes);
    EXPECT_EQ(delivered.From(), QStringLiteral("\"Studio\" <studio@localhost>"));
    EXPECT_EQ(delivered.To(), QStringLiteral("\"Smith, Ann\" <ann@example.org>"));
    EXPECT_EQ(delivered.Subject(), QStringLiteral("RE: ") + kSubject);
    EXPECT_TRUE(delivered.Date().isValid());

    r = messagesTool({QStringLiteral("mark-sent"), dbFolder(), QString::number(sent->Reference())});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    frmMessage* again = openStored(sent->Reference());
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(again->Editable());
}

TEST_F(EmailRoad, ReplyToAllAndForwardAsRows) {
    const struct {
        const char* what;
        bool all;
        QString to;
        QString cc;
        QString prefix;
        int attachments;
    } cases[] = {
        {"reply to all", true, QStringLiteral("\"Smith, Ann\" <ann@example.org>"),
         QStringLiteral("Bob <bob@example.org>, Carol <carol@example.org>"), QStringLiteral("RE: "),
         0},
        {"forward", false, QString(), QString(), QStringLiteral("FW: "), 1},
    };
    for (const auto& c : cases) {
        const qint32 reference = importWish();
        frmMessage* shown = openStored(reference);
        ASSERT_NE(shown, nullptr) << c.what;
        frmMessage* made = answer(shown, c.all ? shown->cmdReplyAll() : shown->cmdForward());
        ASSERT_NE(made, nullptr) << c.what;
        EXPECT_EQ(made->ctlTo()->Text(), c.to) << c.what;
        EXPECT_EQ(made->ctlCC()->Text(), c.cc) << c.what;
        EXPECT_FALSE(made->ctlCC()->Text().contains(QStringLiteral("studio@localhost"))) << c.what;
        EXPECT_EQ(made->txtSubject()->text(), c.prefix + kSubject) << c.what;
        EXPECT_EQ(made->lvwAttachments()->count(), c.attachments) << c.what;
        EXPECT_EQ(made->Message()->CDOMessage().Attachments().Count(), c.attachments) << c.what;
        made->Message()->SetEdited(false);
        Forms::Unload(made);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

} // namespace
