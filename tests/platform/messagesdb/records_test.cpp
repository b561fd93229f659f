#include "messagesdbfixture.h"

#include "platform/messagesdb/hourpatterndialogs.h"
#include "platform/messagesdb/labelsheetsettings.h"
#include "platform/messagesdb/messagetable.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/messagesdb/orlixprizewinner.h"
#include "support/scripteddialogs.h"
#include "support/scriptedmessageboxes.h"
#include "support/toolrun.h"

#include <QLineEdit>

#include <QFileInfo>
#include <QSignalSpy>
#include <QTreeWidget>

#include <functional>
#include <utility>
#include <vector>

namespace {
std::shared_ptr<OrlixPrizeWinner> storeWinner(OrlixDatabase& db, const OrlixPrize& prize,
                                              qint32 contact, const QString& notes) {
    auto w = db.NewPrizeWinner(prize);
    w->SetWinnerReference(contact);
    w->SetNotes(notes);
    bool ok = false;
    db.StorePrizeWinner(*w, ok);
    return ok ? w : nullptr;
}
} // namespace

TEST_F(MessagesDbTest, PrizesAndWinnersAreStoredAndReloadedInOrder) {
    db_->SetCurrentUserProvider([] { return 77; });
    open();
    auto prize = db_->NewPrize();
    EXPECT_EQ(prize->Reference(), 0);
    EXPECT_EQ(prize->AddedByReference(), 77);
    prize->SetTitle(QStringLiteral("Concert tickets"));
    prize->SetNotes(QStringLiteral("Two per winner"));
    prize->SetScript(QStringLiteral("Call now!"));
    prize->SetNumberSupplied(3);
    prize->SetSupplierReference(501);
    prize->SetStartDate(QDateTime(QDate(2026, 12, 1), QTime(9, 0)));
    prize->SetHourRestrictions(1, QStringLiteral("ABX"));
    bool ok = false;
    db_->StorePrize(*prize, ok);
    ASSERT_TRUE(ok);
    ASSERT_GT(prize->Reference(), 0);

    auto first = storeWinner(*db_, *prize, 900, QStringLiteral("first"));
    auto second = storeWinner(*db_, *prize, 901, QStringLiteral("second"));
    auto third = storeWinner(*db_, *prize, 900, QStringLiteral("third"));
    ASSERT_TRUE(first && second && third);
    EXPECT_EQ(first->AwardedByReference(), 77);
    EXPECT_TRUE(first->WonDate().isValid());

    auto back = db_->GetPrize(prize->Reference(), true);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Title(), QStringLiteral("Concert tickets"));
    EXPECT_EQ(back->Script(), QStringLiteral("Call now!"));
    EXPECT_EQ(back->NumberSupplied(), 3);
    EXPECT_EQ(back->SupplierReference(), 501);
    EXPECT_EQ(back->StartDate(), QDateTime(QDate(2026, 12, 1), QTime(9, 0)));
    EXPECT_FALSE(back->EndDate().isValid());
    EXPECT_EQ(back->EndDateText(), QString());
    EXPECT_EQ(back->HourRestrictions(1), QStringLiteral("ABX"));
    EXPECT_EQ(back->HourRestrictions(2), OrlixPrize::kAllHours);
    ASSERT_EQ(back->NumberWinners(), 3);
    EXPECT_EQ(back->Winner(1)->Notes(), QStringLiteral("first"));
    EXPECT_EQ(back->Winner(2)->Notes(), QStringLiteral("second"));
    EXPECT_EQ(back->Winner(3)->Notes(), QStringLiteral("third"));
    EXPECT_EQ(back->Winner(0), nullptr);
    EXPECT_EQ(back->Winner(4), nullptr);
    EXPECT_EQ(db_->GetPrize(prize->Reference(), false)->NumberWinners(), 0);

    EXPECT_EQ(db_->CountPrizesWon(900), 2);
    EXPECT_EQ(db_->CountPrizesWon(901), 1);
    EXPECT_EQ(db_->CountPrizesWon(0), 0);
    EXPECT_EQ(db_->GetPrizeWinner(second->Reference())->WinnerReference(), 901);
    EXPECT_EQ(db_->GetPrizeWinner(second->Reference())->PrizeReference(), prize->Reference());
}

TEST_F(MessagesDbTest, ANewWinnerBeyondTheNumberSuppliedIsRefused) {
    open();
    auto prize = db_->NewPrize();
    prize->SetNumberSupplied(1);
    bool ok = false;
    db_->StorePrize(*prize, ok);
    ASSERT_TRUE(storeWinner(*db_, *prize, 1, QStringLiteral("one")));
    auto late = db_->NewPrizeWinner(*prize);
    db_->StorePrizeWinner(*late, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(late->Reference(), 0);
    EXPECT_TRUE(logged(QStringLiteral("allocated already")));
    // Editing a stored winner is still allowed.
    auto again = db_->GetPrize(prize->Reference())->Winner(1);
    again->SetNotes(QStringLiteral("edited"));
    db_->StorePrizeWinner(*again, ok);
    EXPECT_TRUE(ok);
}

TEST_F(MessagesDbTest, DeletingAPrizeRemovesItsWinners) {
    open();
    auto prize = db_->NewPrize();
    prize->SetNumberSupplied(5);
    bool ok = false;
    db_->StorePrize(*prize, ok);
    auto w = storeWinner(*db_, *prize, 33, QStringLiteral("w"));
    ASSERT_TRUE(w);
    db_->DeletePrize(prize->Reference(), ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(db_->GetPrize(prize->Reference()), nullptr);
    EXPECT_EQ(db_->GetPrizeWinner(w->Reference()), nullptr);
    EXPECT_EQ(db_->CountPrizesWon(33), 0);
    db_->DeletePrize(prize->Reference(), ok);
    EXPECT_FALSE(ok);
    db_->DeletePrizeWinner(w->Reference(), ok);
    EXPECT_FALSE(ok);
}

TEST_F(MessagesDbTest, ReloadPrizeReadsTheSameObjectAgain) {
    open();
    auto prize = db_->NewPrize();
    prize->SetTitle(QStringLiteral("Old"));
    prize->SetNumberSupplied(2);
    bool ok = false;
    db_->StorePrize(*prize, ok);
    auto other = db_->GetPrize(prize->Reference());
    other->SetTitle(QStringLiteral("New"));
    db_->StorePrize(*other, ok);
    storeWinner(*db_, *other, 5, QStringLiteral("x"));
    OrlixPrize* same = prize.get();
    db_->ReloadPrize(*prize, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(prize.get(), same);
    EXPECT_EQ(prize->Title(), QStringLiteral("New"));
    EXPECT_EQ(prize->NumberWinners(), 1);
}

TEST(OrlixPrizeTest, HourLettersAndEditedEvents) {
    OrlixPrize prize;
    QSignalSpy spy(&prize, &OrlixPrize::PrizeEdited);
    prize.SetHourRestrictions(5, QStringLiteral("abx"));
    for (int h = 0; h < 24; ++h) {
        EXPECT_FALSE(prize.HourAllowed(5, h)) << "lower case letters are no hours";
    }
    prize.SetHourRestrictions(5, QStringLiteral("XBA"));
    EXPECT_TRUE(prize.HourAllowed(5, 0));
    EXPECT_TRUE(prize.HourAllowed(5, 1));
    EXPECT_TRUE(prize.HourAllowed(5, 23));
    EXPECT_FALSE(prize.HourAllowed(5, 2));
    prize.SetHour(5, 2, true);
    prize.SetHour(5, 2, true);
    EXPECT_EQ(prize.HourRestrictions(5).count(QLatin1Char('C')), 1);
    prize.SetHour(5, 23, false);
    EXPECT_FALSE(prize.HourAllowed(5, 23));
    prize.SetHour(9, 1, true);
    prize.SetHour(1, 24, true);
    EXPECT_EQ(prize.HourRestrictions(0), QString());
    prize.SetEdited(false);
    // Two SetHourRestrictions and three SetHour in range, then SetEdited(false); the days and
    // hours out of range change nothing and raise nothing.
    ASSERT_EQ(spy.count(), 6);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(spy.at(i).at(0).toBool()) << i;
    }
    EXPECT_FALSE(spy.last().at(0).toBool());
    EXPECT_FALSE(prize.Edited());
}

// Each setter, on a new record, marks it edited and raises its event once, with true.
template <typename Record, typename Signal>
void expectEachSetterRaisesEditedOnce(
    const std::vector<std::pair<const char*, std::function<void(Record&)>>>& setters,
    Signal edited) {
    for (const auto& [name, set] : setters) {
        Record record;
        QSignalSpy spy(&record, edited);
        set(record);
        EXPECT_TRUE(record.Edited()) << name;
        ASSERT_EQ(spy.count(), 1) << name;
        EXPECT_TRUE(spy.at(0).at(0).toBool()) << name;
    }
}

TEST(OrlixPrizeTest, EverySetterOfAPrizeOrAWinnerRaisesEditedOnce) {
    const QDateTime when(QDate(2026, 12, 10), QTime(9, 30));
    expectEachSetterRaisesEditedOnce<OrlixPrize>(
        {
            {"Title", [](OrlixPrize& p) { p.SetTitle(QStringLiteral("Tickets")); }},
            {"Notes", [](OrlixPrize& p) { p.SetNotes(QStringLiteral("Two each")); }},
            {"NotesToSupplier",
             [](OrlixPrize& p) { p.SetNotesToSupplier(QStringLiteral("Post")); }},
            {"Script", [](OrlixPrize& p) { p.SetScript(QStringLiteral("Call now")); }},
            {"StartDate", [&](OrlixPrize& p) { p.SetStartDate(when); }},
            {"EndDate", [&](OrlixPrize& p) { p.SetEndDate(when); }},
            {"AddedDate", [&](OrlixPrize& p) { p.SetAddedDate(when); }},
            {"HourRestrictions",
             [](OrlixPrize& p) { p.SetHourRestrictions(1, QStringLiteral("A")); }},
            {"Hour", [](OrlixPrize& p) { p.SetHour(7, 0, false); }},
            {"NumberSupplied", [](OrlixPrize& p) { p.SetNumberSupplied(3); }},
            {"SupplierReference", [](OrlixPrize& p) { p.SetSupplierReference(501); }},
            {"AddedByReference", [](OrlixPrize& p) { p.SetAddedByReference(77); }},
        },
        &OrlixPrize::PrizeEdited);
    expectEachSetterRaisesEditedOnce<OrlixPrizeWinner>(
        {
            {"WinnerReference", [](OrlixPrizeWinner& w) { w.SetWinnerReference(5); }},
            {"AwardedByReference", [](OrlixPrizeWinner& w) { w.SetAwardedByReference(77); }},
            {"SentByReference", [](OrlixPrizeWinner& w) { w.SetSentByReference(78); }},
            {"Notes", [](OrlixPrizeWinner& w) { w.SetNotes(QStringLiteral("Collected")); }},
            {"NotesToSupplier",
             [](OrlixPrizeWinner& w) { w.SetNotesToSupplier(QStringLiteral("Send")); }},
            {"WonDate", [&](OrlixPrizeWinner& w) { w.SetWonDate(when); }},
            {"SentDate", [&](OrlixPrizeWinner& w) { w.SetSentDate(when); }},
        },
        &OrlixPrizeWinner::PrizeWinnerEdited);

    // Setting Edited itself raises the event with the new value.
    OrlixPrizeWinner winner;
    QSignalSpy spy(&winner, &OrlixPrizeWinner::PrizeWinnerEdited);
    winner.SetEdited(true);
    winner.SetEdited(false);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_TRUE(spy.at(0).at(0).toBool());
    EXPECT_FALSE(spy.at(1).at(0).toBool());
    EXPECT_FALSE(winner.Edited());
}

TEST_F(MessagesDbTest, HourPatternsAreKeptOnceEach) {
    open();
    bool ok = false;
    const QString pattern = QStringLiteral("ABC.D.E.F.G.H.IJ");
    const auto named = [](const QString& name) {
        TestDialogs().queue([name](QDialog& d) {
            auto& ask = dynamic_cast<HourPatternNameDialog&>(d);
            ask.NameBox()->setText(name);
            ask.accept();
        });
    };
    named(QStringLiteral("Weekdays"));
    db_->StoreHourRestrictions(pattern, nullptr, ok);
    EXPECT_TRUE(ok);
    // The same name again, in other letters: kept once, after the question.
    named(QStringLiteral("WEEKDAYS"));
    TestMessageBoxes().queue(MsgResult::Yes);
    db_->StoreHourRestrictions(pattern, nullptr, ok);
    EXPECT_TRUE(ok);
    db_->StoreHourRestrictions(QStringLiteral("A.B"), nullptr, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(db_->HourPatterns(), QStringList{pattern});
}

TEST_F(MessagesDbTest, StationDetailsAreStoredAndReadAtTheNextOpen) {
    open();
    EXPECT_EQ(db_->StationName(), QString());
    StationDetails details;
    details.Name = QStringLiteral("Radio Orlix");
    details.Address = QStringLiteral("1 High Street\n\nTown \r\nAB1 2CD");
    details.SmsPhoneNumber = QStringLiteral("81234");
    details.VatNumber = QStringLiteral("GB123");
    bool ok = false;
    db_->SetStationDetails(details, ok);
    ASSERT_TRUE(ok);
    db_->CloseDatabase(ok);
    open();
    EXPECT_EQ(db_->StationName(), QStringLiteral("Radio Orlix"));
    EXPECT_EQ(db_->StationSMSPhoneNumber(), QStringLiteral("81234"));
    EXPECT_EQ(db_->StationVATNumber(), QStringLiteral("GB123"));
    EXPECT_EQ(db_->StationPhoneNumber(), QString());
    EXPECT_EQ(db_->StationAddressString(QStringLiteral(",")),
              QStringLiteral("1 High Street,Town,AB1 2CD"));
}

TEST_F(MessagesDbTest, TemplatesAreListedByCategoryInOrder) {
    open();
    EXPECT_EQ(db_->GetTemplateList(QStringLiteral("PrintMessage")),
              QStringList{QStringLiteral("Message")});
    EXPECT_EQ(db_->GetTemplateList(QStringLiteral("PrintPrizeWinners")),
              QStringList{QStringLiteral("Winners List")});
    EXPECT_TRUE(db_->GetTemplateList(QStringLiteral("Nothing")).isEmpty());
    const QString path =
        db_->GetTemplatePath(QStringLiteral("PrintMessage"), QStringLiteral("Message"));
    EXPECT_GT(QFileInfo(path).size(), 0);
    EXPECT_EQ(db_->GetTemplatePath(QStringLiteral("PrintMessage"), QStringLiteral("Missing")),
              QString());

    bool ok = false;
    db_->AddTemplate(QStringLiteral("PrintMessage"), QStringLiteral("Compact"),
                     QStringLiteral("compact.htm"), ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(db_->GetTemplateList(QStringLiteral("PrintMessage")),
              (QStringList{"Message", "Compact"}));
    for (const char* bad : {"../escape.htm", "sub/inner.htm", "..", ""}) {
        db_->AddTemplate(QStringLiteral("PrintMessage"), QStringLiteral("Bad"),
                         QString::fromUtf8(bad), ok);
        EXPECT_FALSE(ok) << bad;
    }
    db_->RemoveTemplate(QStringLiteral("PrintMessage"), QStringLiteral("Compact"), ok);
    EXPECT_TRUE(ok);

    db_->SetTemplatesFolder(TestHome() + QStringLiteral("/Elsewhere/"), ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(db_->TemplatesPath(), TestHome() + QStringLiteral("/Elsewhere"));
}

TEST_F(MessagesDbTest, TheLabelSheetIsOneObjectStoredOnRequest) {
    open();
    LabelSheetSettings& sheet = db_->LabelSheetSettings();
    EXPECT_EQ(&sheet, &db_->LabelSheetSettings());
    sheet.SetTopMargin(11);
    sheet.SetLeftMargin(12);
    sheet.SetHorizontalPitch(70);
    sheet.SetVerticalPitch(37);
    sheet.SetLabelsAcross(3);
    sheet.SetLabelsDown(0);
    EXPECT_EQ(sheet.LabelsDown(), 1) << "below 1 reads as 1";
    bool ok = false;
    db_->StoreLabelSheetSettings(ok);
    EXPECT_TRUE(ok);
    db_->CloseDatabase(ok);
    open();
    const LabelSheetSettings& back = db_->LabelSheetSettings();
    EXPECT_EQ(back.TopMargin(), 11);
    EXPECT_EQ(back.LeftMargin(), 12);
    EXPECT_EQ(back.HorizontalPitch(), 70);
    EXPECT_EQ(back.VerticalPitch(), 37);
    EXPECT_EQ(back.LabelsAcross(), 3);
    EXPECT_EQ(back.LabelsDown(), 1);
}

TEST_F(MessagesDbTest, ContactHistoryListsTheirMessagesAndPrizes) {
    qint32 user = 10;
    db_->SetCurrentUserProvider([&] { return user; });
    open();
    const auto store = [&](const QString& subject, const QString& from, qint32 kind, qint32 owner) {
        auto m = email(subject, from);
        m->SetKind(kind);
        m->SetPersonalOwner(owner);
        m->SetFolder(OrlixDatabase::kInboxFolder);
        m->SetReceivedDate(QDateTime::currentDateTime());
        bool ok = false;
        db_->StoreMessage(*m, ok);
        return m->Reference();
    };
    const qint32 mail =
        store(QStringLiteral("hello"), QStringLiteral("Ann <Ann@Example.org>"), 1, 0);
    const qint32 sms = store(QStringLiteral(""), QStringLiteral("+44 7700 900123"), 2, 0);
    const qint32 personal = store(QStringLiteral("mine"), QStringLiteral("ann@example.org"), 1, 10);
    store(QStringLiteral("theirs"), QStringLiteral("ann@example.org"), 1, 11);
    store(QStringLiteral("other"), QStringLiteral("annie@example.org"), 1, 0);
    store(QStringLiteral("wildcard"), QStringLiteral("a_n@example.org"), 1, 0);

    QTreeWidget list;
    list.setColumnCount(3);
    db_->FillContactMessages(&list, QStringLiteral("ann@example.org|nobody@example.org"),
                             QStringLiteral("07700 900999|+447700900123"));
    QStringList keys;
    for (int i = 0; i < list.topLevelItemCount(); ++i) {
        keys << list.topLevelItem(i)->data(0, Qt::UserRole).toString();
    }
    keys.sort();
    QStringList expected{QStringLiteral("m%1").arg(mail), QStringLiteral("m%1").arg(sms),
                         QStringLiteral("m%1").arg(personal)};
    expected.sort();
    EXPECT_EQ(keys, expected) << "other users' personal messages and near addresses stay out";

    const auto lines = db_->ContactMessageLines(QString(), QStringLiteral("+44 7700 900123"));
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines.at(0).Key, QStringLiteral("m%1").arg(sms));
    EXPECT_EQ(lines.at(0).Texts.at(0), QStringLiteral("Please play my song."))
        << "an SMS shows its text";
    EXPECT_EQ(lines.at(0).Texts.at(2), QStringLiteral("Inbox"));

    auto prize = db_->NewPrize();
    prize->SetTitle(QStringLiteral("Mug"));
    prize->SetNumberSupplied(4);
    prize->SetSupplierReference(300);
    bool ok = false;
    db_->StorePrize(*prize, ok);
    auto w = storeWinner(*db_, *prize, 300, QStringLiteral("self"));
    const auto prizes = db_->ContactPrizeLines(300);
    ASSERT_EQ(prizes.size(), 2);
    EXPECT_EQ(prizes.at(0).Key, QStringLiteral("p%1").arg(prize->Reference()));
    EXPECT_EQ(prizes.at(1).Key, QStringLiteral("w%1").arg(w->Reference()));
    EXPECT_EQ(prizes.at(1).Texts.at(0), QStringLiteral("Mug"));
    EXPECT_TRUE(db_->ContactPrizeLines(0).isEmpty());
}

// Every road that stores a message read back from its row keeps it in the history of each
// of its parties: the key of addresses stored is always that of the bytes stored.
TEST_F(MessagesDbTest, AMessageStoredAgainStaysInTheHistoryOfEachOfItsParties) {
    open();
    struct Road {
        const char* name;
        // Acts on the stored message; the reference the history must list.
        std::function<qint32(OrlixDatabase&, qint32)> take;
    };
    const auto store = [](OrlixDatabase& db, OrlixMessage& m) {
        bool ok = false;
        db.StoreMessage(m, ok);
        EXPECT_TRUE(ok);
    };
    const Road roads[] = {
        {"opened and marked read",
         [&](OrlixDatabase& db, qint32 ref) {
             auto m = db.GetMessage(ref);
             m->SetFlags(m->Flags() | 1);
             store(db, *m);
             return ref;
         }},
        {"saved unchanged after its body was read",
         [&](OrlixDatabase& db, qint32 ref) {
             auto m = db.GetMessage(ref);
             EXPECT_FALSE(m->CDOMessage().TextBody().isEmpty());
             store(db, *m);
             return ref;
         }},
        {"saved changed",
         [&](OrlixDatabase& db, qint32 ref) {
             auto m = db.GetMessage(ref);
             m->ChangeCDOMessage(
                 [](MimeMessage& mime) { mime.SetSubject(QStringLiteral("Changed")); });
             store(db, *m);
             return ref;
         }},
        {"moved",
         [](OrlixDatabase& db, qint32 ref) {
             bool ok = false;
             db.MoveMessage(ref, OrlixDatabase::kSentFolder, ok);
             EXPECT_TRUE(ok);
             return ref;
         }},
        {"copied, and the copy stored again",
         [&](OrlixDatabase& db, qint32 ref) {
             bool ok = false;
             db.CopyMessage(ref, OrlixDatabase::kSentFolder, ok);
             EXPECT_TRUE(ok);
             qint32 copy = 0;
             const auto all = db.GetMessages(QString());
             for (int i = 1; i <= all->Count(); ++i) {
                 copy = std::max(copy, all->Item(i)->Reference());
             }
             EXPECT_NE(copy, ref);
             auto m = db.GetMessage(copy);
             m->SetFlags(m->Flags() | 1);
             store(db, *m);
             return copy;
         }},
        {"marked sent by the receiving tool",
         [this](OrlixDatabase&, qint32 ref) {
             const ToolRun r =
                 RunTool(QStringLiteral(ORLIX_MESSAGES_TOOL),
                         {QStringLiteral("mark-sent"), folder_, QString::number(ref)});
             EXPECT_EQ(r.Code, 0) << r.Err.toStdString();
             return ref;
         }},
    };
    const auto listed = [&](const QString& address) {
        QTreeWidget list;
        list.setColumnCount(3);
        db_->FillContactMessages(&list, address, QString());
        QStringList keys;
        for (int i = 0; i < list.topLevelItemCount(); ++i) {
            keys << list.topLevelItem(i)->data(0, Qt::UserRole).toString();
        }
        return keys;
    };
    for (const Road& road : roads) {
        SCOPED_TRACE(road.name);
        const qint32 ref =
            storeReceived(QStringLiteral("Request"), QDateTime::currentDateTimeUtc());
        const qint32 shown = road.take(*db_, ref);
        for (const QString& party :
             {QStringLiteral("ann@example.org"), QStringLiteral("studio@station.example")}) {
            EXPECT_TRUE(listed(party).contains(QStringLiteral("m%1").arg(shown)))
                << party.toStdString();
        }
    }
}

namespace {
// The standard header lines of a stored message's bytes, unfolded, by lower-case name.
QStringList standardHeaderLines(const QByteArray& bytes, const QByteArray& name) {
    const qsizetype end =
        bytes.indexOf("\r\n\r\n") >= 0 ? bytes.indexOf("\r\n\r\n") : bytes.indexOf("\n\n");
    QByteArray head = bytes.left(end);
    head.replace("\r\n", "\n").replace("\n ", " ").replace("\n\t", " ");
    QStringList lines;
    for (const QByteArray& line : head.split('\n')) {
        if (line.toLower().startsWith(name.toLower() + ':')) {
            lines << QString::fromUtf8(line);
        }
    }
    return lines;
}
} // namespace

// An SMS to several listeners, as the SMS window writes it: every entry stays in its columns,
// its queue line and the history of each of its parties, and no number is put into a standard
// address header.
TEST_F(MessagesDbTest, AnSmsToSeveralListenersKeepsEveryOneOfThem) {
    open();
    struct Party {
        const char* address; // "" for a number
        const char* number;  // "" for an address
    };
    struct Case {
        const char* to;
        std::vector<Party> parties;
    };
    const Case cases[] = {
        {"\"Smith, John\" <07700 900555>,Petes Friend <07700900777>",
         {{"", "07700 900555"}, {"", "07700900777"}}},
        {"07700900111,07700 900222,+44 7700 900333",
         {{"", "07700900111"}, {"", "07700 900222"}, {"", "+44 7700 900333"}}},
        {"Ann Listener <ann@example.org>,07700900444",
         {{"ann@example.org", ""}, {"", "07700900444"}}},
    };
    const QDateTime due = QDateTime::currentDateTimeUtc().addSecs(-60);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.to);
        const QString to = QString::fromUtf8(c.to);
        OrlixMessage m;
        m.SetKind(OrlixMessage::KindSms);
        m.ChangeCDOMessage([&to](MimeMessage& mime) {
            mime.SetFrom(QStringLiteral("\"Radio Orlix\" <81234>"));
            mime.SetTo(to);
            mime.SetSubject(QStringLiteral("You won"));
            mime.SetTextBody(QStringLiteral("You won"));
        });
        m.SetFolder(2); // the Outbox
        m.SetFlags(2);
        m.SetSendAfterDate(due);
        bool ok = false;
        db_->StoreMessage(m, ok);
        ASSERT_TRUE(ok) << log_.join('\n').toStdString();

        EXPECT_EQ(db_->GetMessage(m.Reference())->ToText(), to);
        const auto queue = db_->GetDueMessages(QDateTime::currentDateTimeUtc());
        ASSERT_TRUE(queue);
        QString queued;
        for (int i = 1; i <= queue->Count(); ++i) {
            if (queue->Item(i)->Reference() == m.Reference()) {
                queued = queue->Item(i)->ToText();
            }
        }
        EXPECT_EQ(queued, to);

        const QByteArray stored = db_->GetMessage(m.Reference())->MessageBytes();
        const QStringList toLines = standardHeaderLines(stored, "To");
        for (const Party& p : c.parties) {
            const QString number = QString::fromUtf8(p.number);
            if (number.isEmpty()) {
                ASSERT_EQ(toLines.size(), 1);
                EXPECT_TRUE(toLines.front().contains(QString::fromUtf8(p.address)));
                continue;
            }
            const QString digits = MessageTable::Digits(number);
            for (const QString& line : toLines) {
                EXPECT_FALSE(MessageTable::Digits(line).contains(digits.right(6)))
                    << line.toStdString();
            }
            QStringList keys;
            for (const auto& line : db_->ContactMessageLines(QString(), number)) {
                keys << line.Key;
            }
            EXPECT_TRUE(keys.contains(QStringLiteral("m%1").arg(m.Reference())))
                << number.toStdString();
        }
        for (const Party& p : c.parties) {
            if (*p.address == '\0') {
                continue;
            }
            QStringList keys;
            for (const auto& line : db_->ContactMessageLines(QString::fromUtf8(p.address), {})) {
                keys << line.Key;
            }
            EXPECT_TRUE(keys.contains(QStringLiteral("m%1").arg(m.Reference())));
        }
    }
}
