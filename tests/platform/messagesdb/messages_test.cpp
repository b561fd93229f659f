#include "messagesdbfixture.h"

#include "platform/messagesdb/orlixcategorytree.h"

#include <QFile>
#include <QSignalSpy>

TEST(OrlixMessageTest, ANewMessageHasTheDefaultsCallersRelyOn) {
    OrlixMessage m;
    EXPECT_EQ(m.Reference(), 0);
    EXPECT_EQ(m.Flags(), 0);
    EXPECT_EQ(m.Folder(), 6);
    EXPECT_EQ(m.Kind(), OrlixMessage::KindEmail);
    EXPECT_EQ(m.PersonalOwner(), 0);
    EXPECT_FALSE(m.Edited());
    EXPECT_FALSE(m.ReceivedDate().isValid());
    EXPECT_FALSE(m.SentDate().isValid());
    EXPECT_EQ(m.SentDateText(), QString());
    EXPECT_TRUE(m.MessageBytes().isEmpty());
}

TEST(OrlixMessageTest, EditedIsRaisedOnlyWhenItChangesAndSettersLeaveItAlone) {
    OrlixMessage m;
    QSignalSpy spy(&m, &OrlixMessage::MessageEdited);
    m.SetEdited(true);
    m.SetEdited(true);
    m.SetFlags(3);
    m.SetFolder(2);
    m.SetEdited(false);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_TRUE(spy.at(0).at(0).toBool());
    EXPECT_FALSE(spy.at(1).at(0).toBool());
}

TEST(OrlixMessageTest, ColumnsAreReadOutOfTheMessage) {
    const QByteArray raw = "From: =?utf-8?q?Zo=C3=AB_Listener?= <Zoe@Example.org>\r\n"
                           "To: studio@station.example, Desk <desk@station.example>\r\n"
                           "Cc: boss@station.example\r\n"
                           "Subject: =?utf-8?b?UmVxdWVzdDogY2Fmw6k=?=\r\n"
                           "Date: Thu, 10 Dec 2026 09:30:00 +0100\r\n"
                           "MIME-Version: 1.0\r\n"
                           "Content-Type: text/html; charset=utf-8\r\n"
                           "\r\n"
                           "<html><head><style>p{}</style></head><body><p>Hello &amp; welcome</p>"
                           "<script>alert(1)</script></body></html>\r\n";
    OrlixMessage m;
    m.SetMessageBytes(raw);
    EXPECT_EQ(m.Subject(), QStringLiteral("Request: café"));
    EXPECT_EQ(m.FromText(), QStringLiteral("Zoë Listener <Zoe@Example.org>"));
    EXPECT_EQ(m.ToText(), QStringLiteral("studio@station.example, Desk <desk@station.example>"));
    EXPECT_EQ(m.CcText(), QStringLiteral("boss@station.example"));
    EXPECT_EQ(m.BodyText(), QStringLiteral("Hello & welcome"));
    EXPECT_EQ(m.Columns().Date, QDateTime(QDate(2026, 12, 10), QTime(8, 30), Qt::UTC));
    EXPECT_EQ(m.Columns().Addresses, (QStringList{"zoe@example.org", "studio@station.example",
                                                  "desk@station.example", "boss@station.example"}));
    EXPECT_EQ(m.MessageBytes(), raw);
}

TEST(OrlixMessageTest, RawEightBitHeadersReadAsTheMessageObjectReadsThem) {
    // Windows-1252 bytes without encoded words, as many a listener's mail program sends them.
    const QByteArray raw = "From: Zo\xeb <zoe@example.org>\r\n"
                           "Subject: \x93"
                           "caf\xe9\x94 \x80\r\n"
                           "\r\n"
                           "body\r\n";
    OrlixMessage m;
    m.SetMessageBytes(raw);
    const MimeMessage mime = m.CDOMessage();
    EXPECT_EQ(m.Subject(), mime.Subject());
    EXPECT_EQ(m.Subject(), QStringLiteral("\u201ccaf\u00e9\u201d \u20ac"));
    EXPECT_EQ(m.FromText(), mime.From());
    EXPECT_EQ(m.FromText(), QStringLiteral("Zo\u00eb <zoe@example.org>"));
}

TEST(OrlixMessageTest, AReceivedMessageCannotNameItsOwnSender) {
    // A listener's e-mail without From (and To) that forges the headers the program keeps
    // an SMS sender's text in.
    const QByteArray forged = "X-Orlix-From: =?UTF-8?Q?Radio_Orlix_Studio_Manager?=\r\n"
                              "X-Orlix-To: Radio Orlix News Desk\r\n"
                              "Subject: Urgent: read this on air\r\n"
                              "\r\n"
                              "body\r\n";
    OrlixMessage m;
    m.SetMessageBytes(forged);
    EXPECT_EQ(m.FromText(), QString());
    EXPECT_EQ(m.ToText(), QString());
    EXPECT_EQ(m.CDOMessage().From(), QString());
    EXPECT_EQ(m.CDOMessage().To(), QString());
    EXPECT_EQ(m.Subject(), QStringLiteral("Urgent: read this on air"));
    EXPECT_FALSE(m.MessageBytes().contains("X-Orlix"));
}

TEST(OrlixMessageTest, BrokenOrEmptyBytesGiveEmptyColumnsNotACrash) {
    for (const QByteArray& raw : {QByteArray(), QByteArray("\0\0\0garbage", 10),
                                  QByteArray(100000, '\n'), QByteArray("Subject: only a header")}) {
        OrlixMessage m;
        m.SetMessageBytes(raw);
        EXPECT_EQ(m.MessageBytes(), raw);
        EXPECT_TRUE(m.FromText().isEmpty());
    }
}

TEST(OrlixMessageTest, ASmsSenderNumberIsKeptAsWritten) {
    OrlixMessage m;
    m.SetKind(OrlixMessage::KindSms);
    m.SetCDOMessage(MimeMessage::FromBytes(
        BuildTextMessage(QStringLiteral("+44 7700 900123"), QStringLiteral("81234"), QString(),
                         QStringLiteral("Hi from the car park"), QDateTime())));
    EXPECT_EQ(m.FromText(), QStringLiteral("+44 7700 900123"));
    EXPECT_EQ(m.ToText(), QStringLiteral("81234"));
    EXPECT_EQ(m.BodyText(), QStringLiteral("Hi from the car park"));
}

// The text part is written in the narrowest charset that holds it, and Latin-1 is read back
// as Windows-1252: a C1 control between 0x80 and 0x9F would come back as a printable sign.
TEST(OrlixMessageTest, ATextBodyReadsBackAsItWasWrittenWhateverItsCharacters) {
    const QString bodies[] = {
        QStringLiteral("plain ascii"),
        QStringLiteral("caf\u00e9 \u00a3 5"),
        QStringLiteral("Traffic\u0005\u0092 on the A1"),
        QStringLiteral("\u0080\u0085\u009f and \u00e9"),
        QStringLiteral("\u20ac 5 and \u0092"),
    };
    for (const QString& body : bodies) {
        const MessageColumns columns = ReadMessageColumns(
            BuildTextMessage(QStringLiteral("+44 7700 900123"), QStringLiteral("81234"), QString(),
                             body, QDateTime()));
        EXPECT_EQ(columns.TextBody, body) << body.toStdString();
    }
}

TEST_F(MessagesDbTest, AStoredMessageReadsBackWithItsFieldsDatesAndOwner) {
    open();
    auto m = email(QStringLiteral("Competition entry"));
    const QByteArray bytes = m->MessageBytes();
    const QDateTime received(QDate(2026, 12, 9), QTime(23, 45, 12, 345), Qt::UTC);
    const QDateTime sent = QDateTime(QDate(2026, 12, 9), QTime(23, 40)).toLocalTime();
    m->SetFolder(OrlixDatabase::kInboxFolder);
    m->SetKind(OrlixMessage::KindEmail);
    m->SetFlags(1 | 8 | 64);
    m->SetPersonalOwner(42);
    m->SetInheritedValue(-7);
    m->SetReceivedDate(received);
    m->SetSentDate(sent);
    m->SetEdited(true);
    QSignalSpy edited(m.get(), &OrlixMessage::MessageEdited);
    bool ok = false;
    db_->StoreMessage(*m, ok);
    ASSERT_TRUE(ok);
    EXPECT_GT(m->Reference(), 0);
    EXPECT_FALSE(m->Edited());
    EXPECT_EQ(edited.count(), 1);

    auto back = db_->GetMessage(m->Reference());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Reference(), m->Reference());
    EXPECT_EQ(back->Folder(), OrlixDatabase::kInboxFolder);
    EXPECT_EQ(back->Flags(), 1 | 8 | 64);
    EXPECT_EQ(back->PersonalOwner(), 42);
    EXPECT_EQ(back->InheritedValue(), -7);
    EXPECT_EQ(back->ReceivedDate(), received);
    EXPECT_EQ(back->ReceivedDate().timeSpec(), Qt::LocalTime);
    EXPECT_EQ(back->SentDate(), sent);
    EXPECT_FALSE(back->SendAfterDate().isValid());
    EXPECT_EQ(back->Subject(), QStringLiteral("Competition entry"));
    EXPECT_EQ(back->FolderName(), QStringLiteral("Inbox"));
    EXPECT_EQ(back->MessageBytes(), bytes);
    EXPECT_FALSE(back->Edited());
}

// The list columns are read from the file as their stored bytes: every text, whatever its
// script, and an empty one, must read back as the message itself gives it, whether the
// message comes alone or in a list.
TEST_F(MessagesDbTest, ListColumnsReadBackAsTheMessageGivesThemInEveryScript) {
    open();
    struct Case {
        QString subject;
        QString from;
        QString body;
        QString to;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("Plain request"), QStringLiteral("Ann <ann@example.org>"),
         QStringLiteral("Play my song."), QStringLiteral("studio@station.example")},
        {QStringLiteral("Zoë Ångström – café №5"), QStringLiteral("Zoë Ångström <z@example.org>"),
         QStringLiteral("Straße, ĳ, Ω ≈ ∞"), QStringLiteral("Desk <desk@station.example>")},
        {QStringLiteral("Радио 📻 ラジオ"), QStringLiteral("Пётр <p@example.org>"),
         QStringLiteral("😀 𝄞 emoji and a clef"), QStringLiteral("studio@station.example")},
        {QString(), QStringLiteral("nobody@example.org"), QString(),
         QStringLiteral("studio@station.example")},
    };
    QList<qint32> references;
    std::vector<std::unique_ptr<OrlixMessage>> stored;
    for (const Case& c : cases) {
        auto m = email(c.subject, c.from, c.body, c.to);
        m->SetFolder(OrlixDatabase::kInboxFolder);
        m->SetReceivedDate(QDateTime::currentDateTimeUtc().addSecs(-60 * (references.size() + 1)));
        bool ok = false;
        db_->StoreMessage(*m, ok);
        ASSERT_TRUE(ok) << log_.join('\n').toStdString();
        references << m->Reference();
        stored.push_back(std::move(m));
    }
    const auto list = db_->GetMessages(QString());
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Count(), static_cast<int>(cases.size()));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const OrlixMessage& want = *stored[i];
        // Each was received a minute before the one stored before it: newest first, from 1.
        const auto inList = list->Item(static_cast<int>(i) + 1);
        const auto alone = db_->GetMessage(references[static_cast<int>(i)]);
        ASSERT_NE(inList, nullptr);
        ASSERT_NE(alone, nullptr);
        for (const OrlixMessage* read : {inList.get(), alone.get()}) {
            SCOPED_TRACE(want.Subject().toStdString());
            EXPECT_EQ(read->Reference(), references[static_cast<int>(i)]);
            EXPECT_EQ(read->Subject(), want.Subject());
            EXPECT_EQ(read->FromText(), want.FromText());
            EXPECT_EQ(read->ToText(), want.ToText());
            EXPECT_EQ(read->CcText(), want.CcText());
            EXPECT_EQ(read->BodyText(), want.BodyText());
            // An empty column reads as an empty text, not a missing one.
            EXPECT_FALSE(read->CcText().isNull());
        }
    }
    EXPECT_EQ(stored[1]->Subject(), QStringLiteral("Zoë Ångström – café №5"));
    EXPECT_EQ(stored[2]->BodyText(), QStringLiteral("😀 𝄞 emoji and a clef"));
}

TEST_F(MessagesDbTest, StoringAgainUpdatesTheSameRowAndKeepsOtherBits) {
    open();
    const qint32 ref = storeReceived(QStringLiteral("first"), QDateTime::currentDateTimeUtc());
    auto m = db_->GetMessage(ref);
    ASSERT_NE(m, nullptr);
    m->SetFlags(m->Flags() | OrlixMessage::FlagRead | 0x100);
    m->SetFolder(5);
    m->SetSendAfterDate(QDateTime::currentDateTime().addSecs(30));
    bool ok = false;
    db_->StoreMessage(*m, ok); // the bytes were never read: the row keeps its own
    ASSERT_TRUE(ok);
    EXPECT_EQ(m->Reference(), ref);
    auto back = db_->GetMessage(ref);
    EXPECT_EQ(back->Flags(), 0x101);
    EXPECT_EQ(back->Folder(), 5);
    EXPECT_EQ(back->Subject(), QStringLiteral("first"));
    EXPECT_FALSE(back->MessageBytes().isEmpty());
    EXPECT_EQ(db_->GetMessages(QString())->Count(), 1);

    // New bytes replace the message and its columns.
    back->SetMessageBytes(
        BuildTextMessage(QStringLiteral("b@example.org"), QStringLiteral("s@example.org"),
                         QStringLiteral("second"), QStringLiteral("x"), QDateTime()));
    db_->StoreMessage(*back, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(db_->GetMessage(ref)->Subject(), QStringLiteral("second"));
}

// A window's edits change the message object where it is kept; whatever is read next (bytes,
// columns, a copy, the stored row) must already carry every edit, and a message set whole
// afterwards must not be overwritten by the kept one.
TEST_F(MessagesDbTest, ChangesMadeInPlaceReachBytesColumnsCopiesAndTheStore) {
    open();
    const qint32 ref = storeReceived(QStringLiteral("first"), QDateTime::currentDateTimeUtc());
    auto m = db_->GetMessage(ref);
    ASSERT_NE(m, nullptr);
    m->ChangeCDOMessage([](MimeMessage& mime) { mime.SetSubject(QStringLiteral("typed")); });
    EXPECT_EQ(m->Subject(), QStringLiteral("typed"));
    m->ChangeCDOMessage([](MimeMessage& mime) {
        mime.SetHTMLBody(QStringLiteral("<p>Hello <b>studio</b></p>"));
        mime.SetTextBody(QStringLiteral("Hello studio"));
    });
    EXPECT_EQ(m->Subject(), QStringLiteral("typed"));
    EXPECT_EQ(m->BodyText(), QStringLiteral("Hello studio"));
    EXPECT_EQ(m->CDOMessage().HTMLBody(), QStringLiteral("<p>Hello <b>studio</b></p>"));
    EXPECT_EQ(MimeMessage::FromBytes(m->MessageBytes()).Subject(), QStringLiteral("typed"));
    EXPECT_EQ(m->Clone()->Subject(), QStringLiteral("typed"));

    bool ok = false;
    db_->StoreMessage(*m, ok);
    ASSERT_TRUE(ok);
    auto back = db_->GetMessage(ref);
    EXPECT_EQ(back->Subject(), QStringLiteral("typed"));
    EXPECT_EQ(back->CDOMessage().TextBody(), QStringLiteral("Hello studio"));

    // Changed again after the store: the next store carries it too.
    m->ChangeCDOMessage([](MimeMessage& mime) { mime.SetSubject(QStringLiteral("again")); });
    db_->StoreMessage(*m, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(db_->GetMessage(ref)->Subject(), QStringLiteral("again"));

    // A message set whole replaces the kept one; later edits start from it.
    MimeMessage whole;
    whole.SetSubject(QStringLiteral("whole"));
    whole.SetTextBody(QStringLiteral("new body"));
    m->SetCDOMessage(whole);
    EXPECT_EQ(m->Subject(), QStringLiteral("whole"));
    m->ChangeCDOMessage([](MimeMessage& mime) { mime.SetTo(QStringLiteral("desk@example.org")); });
    EXPECT_EQ(m->Subject(), QStringLiteral("whole"));
    EXPECT_EQ(m->ToText(), QStringLiteral("desk@example.org"));
    EXPECT_EQ(m->BodyText(), QStringLiteral("new body"));
}

// A list's messages carry only where their bytes are: each must read its own row, once, and
// keep what it read when the row goes afterwards.
TEST_F(MessagesDbTest, ListedMessagesReadTheirOwnBytesOnceWhenFirstAsked) {
    open();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (const QString& subject :
         {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")}) {
        storeReceived(subject, now);
    }
    auto list = db_->GetMessages(QString());
    ASSERT_EQ(list->Count(), 3);
    QStringList read;
    for (int i = 1; i <= list->Count(); ++i) {
        const OrlixMessage& m = *list->Item(i);
        read << m.CDOMessage().Subject();
        EXPECT_EQ(read.last(), m.Subject());
        bool ok = false;
        db_->DeleteMessage(m.Reference(), false, ok);
        ASSERT_TRUE(ok);
        EXPECT_EQ(m.CDOMessage().Subject(), m.Subject());
    }
    read.sort();
    EXPECT_EQ(read,
              QStringList({QStringLiteral("one"), QStringLiteral("three"), QStringLiteral("two")}));
}

TEST_F(MessagesDbTest, StoringAMessageThatWasDeletedMeanwhileFails) {
    open();
    const qint32 ref = storeReceived(QStringLiteral("gone"), QDateTime::currentDateTimeUtc());
    auto m = db_->GetMessage(ref);
    bool ok = false;
    db_->DeleteMessage(ref, false, ok);
    ASSERT_TRUE(ok);
    db_->StoreMessage(*m, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(db_->GetMessage(ref), nullptr);
}

TEST_F(MessagesDbTest, AMessageForAFolderThatDoesNotExistIsNotStored) {
    open();
    for (qint32 folder : {0, 1, 99, -2}) {
        auto m = email(QStringLiteral("lost"));
        m->SetFolder(folder);
        bool ok = true;
        db_->StoreMessage(*m, ok);
        EXPECT_FALSE(ok) << folder;
        EXPECT_EQ(m->Reference(), 0);
    }
}

TEST_F(MessagesDbTest, GetMessageGivesNothingForMissingZeroOrNegative) {
    open();
    storeReceived(QStringLiteral("one"), QDateTime::currentDateTimeUtc());
    for (qint32 ref : {0, -1, 999}) {
        EXPECT_EQ(db_->GetMessage(ref), nullptr) << ref;
    }
}

TEST_F(MessagesDbTest, MoveCopyAndDeleteReportMissingMessages) {
    open();
    const qint32 ref = storeReceived(QStringLiteral("moving"), QDateTime::currentDateTimeUtc());
    struct Case {
        const char* What;
        qint32 Reference;
        qint32 Folder;
        bool Ok;
    };
    const Case cases[] = {
        {"move", ref, 5, true},   {"move", 0, 5, false},    {"move", 999, 5, false},
        {"move", ref, 77, false}, {"copy", ref, 4, true},   {"copy", 0, 4, false},
        {"copy", 999, 4, false},  {"copy", ref, 1, false},  {"delete", 999, 0, false},
        {"delete", 0, 0, false},  {"delete", -3, 0, false},
    };
    for (const Case& c : cases) {
        bool ok = !c.Ok;
        const QString what = QLatin1String(c.What);
        if (what == QLatin1String("move")) {
            db_->MoveMessage(c.Reference, c.Folder, ok);
        } else if (what == QLatin1String("copy")) {
            db_->CopyMessage(c.Reference, c.Folder, ok);
        } else {
            db_->DeleteMessage(c.Reference, false, ok);
        }
        EXPECT_EQ(ok, c.Ok) << c.What << " " << c.Reference << " to " << c.Folder;
    }
    auto all = db_->GetMessages(QString());
    ASSERT_EQ(all->Count(), 2);
    EXPECT_EQ(db_->GetMessage(ref)->Folder(), 5);
    const auto copy = all->Item(1)->Reference() == ref ? all->Item(2) : all->Item(1);
    EXPECT_EQ(copy->Folder(), 4);
    EXPECT_GT(copy->Reference(), ref);
    EXPECT_EQ(copy->Subject(), QStringLiteral("moving"));
    EXPECT_EQ(copy->MessageBytes(), db_->GetMessage(ref)->MessageBytes());

    bool ok = false;
    db_->DeleteMessage(ref, false, ok);
    EXPECT_TRUE(ok);
    db_->DeleteMessage(ref, false, ok);
    EXPECT_FALSE(ok);
}

TEST_F(MessagesDbTest, ACloneIsADistinctCopyThatStoresAsANewMessage) {
    open();
    const qint32 ref = storeReceived(QStringLiteral("original"), QDateTime::currentDateTimeUtc());
    auto original = db_->GetMessage(ref);
    auto clone = original->Clone();
    EXPECT_EQ(clone->Reference(), ref);
    EXPECT_EQ(clone->MessageBytes(), original->MessageBytes());
    clone->SetReference(0);
    clone->SetFolder(6);
    clone->SetMessageBytes(
        BuildTextMessage(QStringLiteral("a@example.org"), QStringLiteral("b@example.org"),
                         QStringLiteral("changed"), QStringLiteral("x"), QDateTime()));
    bool ok = false;
    db_->StoreMessage(*clone, ok);
    ASSERT_TRUE(ok);
    EXPECT_NE(clone->Reference(), ref);
    EXPECT_EQ(original->Subject(), QStringLiteral("original"));
    EXPECT_EQ(db_->GetMessage(ref)->Subject(), QStringLiteral("original"));
    EXPECT_EQ(db_->GetMessage(clone->Reference())->Subject(), QStringLiteral("changed"));
}

TEST_F(MessagesDbTest, AMessageHeldAfterTheDatabaseClosedReadsNothingMore) {
    open();
    const qint32 ref = storeReceived(QStringLiteral("held"), QDateTime::currentDateTimeUtc());
    auto held = db_->GetMessage(ref);
    bool ok = false;
    db_->CloseDatabase(ok);
    EXPECT_EQ(held->Subject(), QStringLiteral("held"));
    EXPECT_TRUE(held->MessageBytes().isEmpty());
    db_->StoreMessage(*held, ok);
    EXPECT_FALSE(ok);
}

TEST_F(MessagesDbTest, OwnChangesAreAnnouncedUnlessEventsAreOff) {
    open();
    QSignalSpy changed(db_.get(), &OrlixDatabase::MessageChanged);
    QSignalSpy deleted(db_.get(), &OrlixDatabase::MessageDeleted);
    const qint32 ref = storeReceived(QStringLiteral("one"), QDateTime::currentDateTimeUtc());
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toInt(), ref);

    db_->SetEventsEnabled(false);
    bool ok = false;
    db_->MoveMessage(ref, 5, ok);
    db_->CopyMessage(ref, 4, ok);
    db_->DeleteMessage(ref, false, ok);
    db_->SetEventsEnabled(true);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(deleted.count(), 0);

    db_->AnnounceMessageDeleted(nullptr);
    db_->AnnounceMessageChanged(nullptr, true);
    ASSERT_EQ(deleted.count(), 1);
    EXPECT_EQ(deleted.at(0).at(0).toInt(), 0);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.at(1).at(0).toInt(), 0);
}

TEST_F(MessagesDbTest, TheOutboxGivesDueMessagesAndTakesThemBackAsSent) {
    open();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const auto outgoing = [&](const QString& subject, qint32 flags, const QDateTime& after,
                              qint32 folder) {
        auto m = email(subject);
        m->SetFolder(folder);
        m->SetFlags(flags);
        m->SetSendAfterDate(after);
        bool ok = false;
        db_->StoreMessage(*m, ok);
        EXPECT_TRUE(ok);
        return m->Reference();
    };
    const qint32 due = outgoing(QStringLiteral("due"), 2, now.addSecs(-5), 2);
    outgoing(QStringLiteral("later"), 2, now.addSecs(600), 2);
    outgoing(QStringLiteral("not flagged"), 1, now.addSecs(-5), 2);
    outgoing(QStringLiteral("draft"), 2, now.addSecs(-5), 6);
    auto list = db_->GetDueMessages(now);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Item(1)->Reference(), due);

    EXPECT_TRUE(db_->MarkMessageSent(due, now));
    EXPECT_EQ(db_->GetDueMessages(now)->Count(), 0);
    auto sent = db_->GetMessage(due);
    EXPECT_EQ(sent->Folder(), OrlixDatabase::kSentFolder);
    EXPECT_EQ(sent->Flags() & 2, 0);
    EXPECT_EQ(sent->SentDate().toUTC().toSecsSinceEpoch(), now.toSecsSinceEpoch());
    EXPECT_FALSE(db_->MarkMessageSent(999, now));
}

namespace {
TEST(OrlixMessageObject, TheMessageInsideIsTheMessageObjectWithItsTextsAsSet) {
    MimeMessage sms;
    sms.SetFrom(QStringLiteral("07700 900123"));
    sms.SetTo(QStringLiteral("Studio"));
    sms.SetSubject(QStringLiteral("Traffic on the ring road"));
    sms.SetTextBody(QStringLiteral("Traffic on the ring road"));
    OrlixMessage message;
    message.SetKind(OrlixMessage::KindSms);
    message.SetCDOMessage(sms);
    EXPECT_EQ(message.Columns().From, QStringLiteral("07700 900123"));
    EXPECT_EQ(message.Columns().To, QStringLiteral("Studio"));
    EXPECT_EQ(message.CDOMessage().From(), QStringLiteral("07700 900123"));
    EXPECT_EQ(message.CDOMessage().TextBody(), QStringLiteral("Traffic on the ring road"));
}
} // namespace

namespace {
QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

// Each file passes the limit of one part; together they would pass the limit of a message,
// which is then read back only in part: the one that would is refused, the rest stored whole.
TEST_F(MessagesDbTest, AnAttachmentTakingTheMessagePastItsLimitIsRefusedAndTheRestKeptWhole) {
    open();
    QStringList files;
    for (int n = 0; n < 3; ++n) {
        files << TestHome() + QStringLiteral("/recording-%1.wav").arg(n);
        QByteArray content(24000000, '\0');
        for (qsizetype i = 0; i < content.size(); ++i) {
            content[i] = static_cast<char>((i * 7 + n * 13 + i / 4099) & 0xff);
        }
        QFile f(files.back());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(content), content.size());
    }
    MimeMessage mime;
    mime.SetTo(QStringLiteral("ann@example.org"));
    mime.SetSubject(QStringLiteral("Recordings"));
    QString why;
    ASSERT_TRUE(mime.AddAttachment(files.at(0), &why)) << why.toStdString();
    ASSERT_TRUE(mime.AddAttachment(files.at(1), &why)) << why.toStdString();
    EXPECT_FALSE(mime.AddAttachment(files.at(2), &why));
    EXPECT_EQ(why, QStringLiteral("With the file '%1' the message would be larger than 64 MB.")
                       .arg(files.at(2)));
    EXPECT_EQ(mime.Attachments().Count(), 2);

    OrlixMessage message;
    message.SetCDOMessage(mime);
    bool ok = false;
    db_->StoreMessage(message, ok);
    ASSERT_TRUE(ok) << log_.join('\n').toStdString();
    const auto back = db_->GetMessage(message.Reference());
    ASSERT_TRUE(back);
    const MimeMessage read = back->CDOMessage();
    EXPECT_FALSE(read.ReadInPart());
    ASSERT_EQ(read.Attachments().Count(), 2);
    for (int n = 1; n <= 2; ++n) {
        const QString saved = TestHome() + QStringLiteral("/saved-%1").arg(n);
        ASSERT_TRUE(read.Attachments().Item(n).SaveToFile(saved, &why)) << why.toStdString();
        EXPECT_TRUE(fileBytes(saved) == fileBytes(files.at(n - 1))) << "attachment " << n;
    }
}

TEST_F(MessagesDbTest, BytesPastAMessagesLimitAreNeverStoredNorWrittenBackFromTheirPart) {
    open();
    const qint32 reference =
        storeReceived(QStringLiteral("Small"), QDateTime::currentDateTimeUtc());
    const auto storedBytes = [&] {
        const auto m = db_->GetMessage(reference);
        return m ? m->MessageBytes() : QByteArray("<gone>");
    };
    const QByteArray before = storedBytes();
    ASSERT_FALSE(before.isEmpty());

    const QByteArray oversized =
        BuildTextMessage(QStringLiteral("ann@example.org"), QStringLiteral("studio@example.org"),
                         QStringLiteral("Big"), QString(), QDateTime()) +
        QByteArray(65 * 1024 * 1024, 'x');
    const MimeMessage partial = MimeMessage::FromBytes(oversized);
    EXPECT_TRUE(partial.ReadInPart());
    MimeMessage edited = MimeMessage::FromBytes(oversized);
    edited.SetSubject(QStringLiteral("Changed"));
    EXPECT_TRUE(edited.ToBytes() == oversized) << "never the part that was read";

    auto stored = db_->GetMessage(reference);
    ASSERT_TRUE(stored);
    stored->SetMessageBytes(oversized);
    bool ok = true;
    db_->StoreMessage(*stored, ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(storedBytes() == before);
    EXPECT_TRUE(logged(QStringLiteral("larger than a message may be")));

    OrlixMessage fresh;
    fresh.SetMessageBytes(oversized);
    ok = true;
    db_->StoreMessage(fresh, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(fresh.Reference(), 0);
}
