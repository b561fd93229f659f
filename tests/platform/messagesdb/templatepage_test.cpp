// Every message tag of a list page, on screen and on paper, for messages that differ in each
// way a tag can: the page must stay exactly as the fixture shows it.
#include "platform/messagesdb/messagemime.h"
#include "platform/messagesdb/messagetemplate.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/messagesdb/orlixmessagelist.h"

#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

#include <ctime>
#include <memory>

namespace {
const char* const kTags[] = {
    "SUBJECT",
    "FROM",
    "TO",
    "CC",
    "RECEIVEDDATE",
    "SENTDATE",
    "SENDAFTERDATE",
    "DATE",
    "FOLDER",
    "BODY",
    "SUMMARY",
    "REFERENCE",
    "KIND",
    "KINDIMAGE",
    "FLAGS",
    "READ",
    "PERSONAL",
    "PERSONALOWNER",
    "FOLDERREFERENCE",
    "SELECT",
    "OPENLINK",
    "PRINTLINK",
    "DELETELINK",
    "COPYLINK",
    "MOVELINK",
    "NOSUCHFIELD",
};

QString everyTag() {
    QString block = QStringLiteral("<OCP_MESSAGES_REPEAT>\n");
    for (const char* tag : kTags) {
        block += QStringLiteral("%1=[<OCP_MESSAGE_%1>]\n").arg(QLatin1String(tag));
    }
    // A tag in lower case, and one split across nothing: both still tags.
    block += QStringLiteral("<ocp_message_subject>|<OCP_MESSAGE_kind>\n</OCP_MESSAGES_REPEAT>");
    return QStringLiteral("count=<OCP_MESSAGES_COUNT> <OCP_MESSAGES_DELETELINK>\n") + block;
}

std::shared_ptr<OrlixMessage> message(qint32 reference, qint32 kind, const QString& subject,
                                      const QString& body, qint32 flags, qint32 owner) {
    auto m = std::make_shared<OrlixMessage>();
    m->SetReference(reference);
    m->SetKind(kind);
    m->SetFlags(flags);
    m->SetPersonalOwner(owner);
    m->SetMessageBytes(BuildTextMessage(QStringLiteral("Ann \"A&B\" <ann@example.org>"),
                                        QStringLiteral("studio@station.example"), subject, body,
                                        QDateTime()));
    m->SetReceivedDate(QDateTime::fromString(QStringLiteral("2026-03-29T00:59:00Z"), Qt::ISODate));
    if (reference % 2 == 0) {
        m->SetSentDate(QDateTime::fromString(QStringLiteral("2026-07-01T12:34:00Z"), Qt::ISODate));
        m->SetSendAfterDate(
            QDateTime::fromString(QStringLiteral("2026-07-01T12:35:56Z"), Qt::ISODate));
    }
    return m;
}

TEST(MessageTemplatePage, EveryTagOfAListRendersAsTheFixtureShows) {
    const QByteArray hadZone = qgetenv("TZ");
    qputenv("TZ", "GMT0BST,M3.5.0/1,M10.5.0");
    tzset();
    const QLocale hadLocale;
    QLocale::setDefault(QLocale::c());

    QString longBody;
    for (int i = 0; i < 40; ++i) {
        longBody += QStringLiteral("word%1 \t\r\n  ").arg(i);
    }
    const std::vector<std::shared_ptr<OrlixMessage>> messages = {
        message(1, OrlixMessage::KindEmail, QStringLiteral("Plain request"),
                QStringLiteral("  Please   play\nmy song.  "), OrlixMessage::FlagRead, 0),
        message(2, OrlixMessage::KindSms, QStringLiteral("<script>x</script> & 'quotes'"), longBody,
                0, 3),
        message(3, 99, QString(), QString(), 0, 0),
    };
    OrlixMessageList list(messages);
    QString page;
    for (int options : {static_cast<int>(MessageTemplate::OnScreenList), 0}) {
        page += QStringLiteral("== options %1\n").arg(options);
        page += list.ApplyTemplate(everyTag(), options);
        page += QLatin1Char('\n');
    }

    QLocale::setDefault(hadLocale);
    qputenv("TZ", hadZone);
    tzset();

    QFile fixture(QStringLiteral(ORLIX_FIXTURES "/templates/every-tag.txt"));
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    EXPECT_EQ(page.toStdString(), QString::fromUtf8(fixture.readAll()).toStdString());
}
} // namespace
