#include "messagesdbfixture.h"
#include "platform/messagesdb/messagemime.h"
#include "platform/messagesdb/messagesstorage.h"
#include "platform/messagesdb/smsform.h"
#include "platform/mime/mimemessage.h"
#include "platform/system/terminaltext.h"
#include "support/toolrun.h"
#include "support/waitfor.h"

#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {
ToolRun tool(const QStringList& args) {
    return RunTool(QStringLiteral(ORLIX_MESSAGES_TOOL), args);
}

QString fixture(const char* name) {
    return QStringLiteral(ORLIX_FIXTURES "/messages/") + QLatin1String(name);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Control characters other than the list's own tabs and line ends.
bool hasRawControls(const QString& text) {
    for (const QChar c : text) {
        if (c != QLatin1Char('\t') && c != QLatin1Char('\n') &&
            (c.category() == QChar::Other_Control || c == QChar(0x202E))) {
            return true;
        }
    }
    return false;
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

TEST_F(MessagesDbTest, AnImportedSmsHoldsItsTextAsSubjectAndBodyExactly) {
    ASSERT_EQ(tool({QStringLiteral("create"), folder_}).Code, 0);
    const QString text = QStringLiteral("Traffic jam on the ring road, avoid junction 4!");
    QFile file(fixture("traffic-tip.sms"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    ASSERT_TRUE(QString::fromUtf8(file.readAll()).endsWith(QStringLiteral("\n\n") + text + u'\n'));
    const QString unicode = folder_ + QStringLiteral("/unicode.sms");
    const QString unicodeText = QStringLiteral("Stau auf der Ringstra\u00dfe \U0001F697 =41 ?= x");
    writeFile(unicode,
              QStringLiteral("From: +44 7700 900123\nReceived: 2026-12-10T07:31:00Z\n\n").toUtf8() +
                  unicodeText.toUtf8() + "\n");
    ToolRun r = tool({QStringLiteral("import"), folder_, QStringLiteral("--sms"),
                      fixture("traffic-tip.sms"), unicode});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    open();
    auto list = db_->GetMessages(QStringLiteral("[Kind]=2"));
    ASSERT_EQ(list->Count(), 2);
    QStringList texts;
    for (int i = 1; i <= list->Count(); ++i) {
        const MimeMessage mime = db_->GetMessage(list->Item(i)->Reference())->CDOMessage();
        EXPECT_EQ(mime.Subject(), mime.TextBody());
        texts << mime.TextBody();
    }
    texts.sort();
    EXPECT_EQ(texts, QStringList({unicodeText, text}));
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

TEST_F(MessagesDbTest, AnImportedMessageIsSentAtItsDateHeaderElseWhenReceived) {
    const QString undated = TestHome() + QStringLiteral("/undated.eml");
    writeFile(undated, "From: ann@example.org\r\nSubject: Hi\r\n\r\nHello\r\n");
    ToolRun r = tool({QStringLiteral("import"), folder_, fixture("listener-request.eml"), undated});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    r = tool(
        {QStringLiteral("import"), folder_, QStringLiteral("--sms"), fixture("traffic-tip.sms")});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    open();
    auto dated = db_->GetMessages(QStringLiteral("[Kind]=1"));
    ASSERT_EQ(dated->Count(), 2);
    for (int i = 1; i <= dated->Count(); ++i) {
        const auto& m = dated->Item(i);
        ASSERT_TRUE(m->SentDate().isValid()) << m->Subject().toStdString();
        if (m->Subject() == QStringLiteral("Hi")) {
            EXPECT_EQ(m->SentDate(), m->ReceivedDate());
        } else {
            EXPECT_EQ(m->SentDate().toUTC(), QDateTime(QDate(2026, 12, 10), QTime(7, 15), Qt::UTC));
        }
    }
    auto sms = db_->GetMessages(QStringLiteral("[Kind]=2"));
    ASSERT_EQ(sms->Count(), 1);
    EXPECT_EQ(sms->Item(1)->SentDate(), sms->Item(1)->ReceivedDate());
}

TEST_F(MessagesDbTest, DueAtATimeListsWhatIsDueThen) {
    open();
    auto m = email(QStringLiteral("Later"), QStringLiteral("studio@station.example"),
                   QStringLiteral("Soon"), QStringLiteral("ann@example.org"));
    m->SetFolder(OrlixMessage::kOutboxFolder);
    m->SetFlags(OrlixMessage::FlagToBeSent);
    m->SetSendAfterDate(QDateTime(QDate(2026, 12, 10), QTime(9, 0, 30), Qt::UTC));
    bool ok = false;
    db_->StoreMessage(*m, ok);
    ASSERT_TRUE(ok);
    const struct {
        const char* at;
        bool listed;
    } cases[] = {{"2026-12-10T09:00:29Z", false},
                 {"2026-12-10T09:00:30Z", true},
                 {"2026-12-10T09:01:00", true}, // no zone: UTC
                 {"2026-12-10T10:00:00+02:00", false}};
    for (const auto& c : cases) {
        const ToolRun r = tool(
            {QStringLiteral("due"), folder_, QStringLiteral("--at"), QString::fromLatin1(c.at)});
        ASSERT_EQ(r.Code, 0) << c.at << r.Err.toStdString();
        EXPECT_EQ(r.Out.startsWith(QString::number(m->Reference()) + QLatin1Char('\t')), c.listed)
            << c.at;
        EXPECT_EQ(r.Out.count(QLatin1Char('\n')), c.listed ? 1 : 0) << c.at;
    }
    EXPECT_EQ(
        tool({QStringLiteral("due"), folder_, QStringLiteral("--at"), QStringLiteral("soon")}).Code,
        1);
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

// A receiving program killed in the middle of a long import: every line it read names a stored
// message, and only the one file in hand at the kill can be stored without its line.
TEST_F(MessagesDbTest, AKilledImportHasReportedEveryMessageItStored) {
    ASSERT_EQ(tool({QStringLiteral("create"), folder_}).Code, 0);
    const QString spool = TestHome() + QStringLiteral("/spool");
    QDir().mkpath(spool);
    QStringList files;
    for (int i = 1; i <= 120; ++i) {
        const QString path = spool + QStringLiteral("/%1.eml").arg(i, 3, 10, QLatin1Char('0'));
        writeFile(path, QStringLiteral("From: ann@example.org\r\nTo: studio@station.example\r\n"
                                       "Subject: Request %1\r\n\r\nPlay it again.\r\n")
                            .arg(i)
                            .toUtf8());
        files << path;
    }
    const auto subjectOf = [](const QString& path) {
        return QStringLiteral("Request %1").arg(QFileInfo(path).baseName().toInt());
    };

    QProcess import;
    import.start(QStringLiteral(ORLIX_MESSAGES_TOOL),
                 QStringList{QStringLiteral("import"), folder_} + files);
    ASSERT_TRUE(import.waitForStarted());
    {
        // Counted through a connection of its own that never waits for the import's lock: a
        // reader that waits may find the lock free only after many more commits.
        QSqlDatabase counter =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("counter"));
        counter.setDatabaseName(folder_ + QLatin1Char('/') +
                                QLatin1String(MessagesStorage::kFileName));
        counter.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
        ASSERT_TRUE(counter.open());
        int seen = 0;
        const auto stored = [&] {
            QSqlQuery q(counter);
            if (q.exec(QStringLiteral("SELECT COUNT(*) FROM messages")) && q.next()) {
                seen = q.value(0).toInt();
            }
            return seen;
        };
        ASSERT_TRUE(
            WaitFor([&] { return stored() >= 10 || import.state() == QProcess::NotRunning; }));
        import.kill();
        import.waitForFinished();
        counter.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("counter"));
    ASSERT_EQ(import.exitStatus(), QProcess::CrashExit) << "the import ended before the kill";

    QMap<QString, qint32> reported; // file -> reference
    for (const QString& line : QString::fromUtf8(import.readAllStandardOutput())
                                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        ASSERT_EQ(fields.size(), 2) << line.toStdString();
        reported.insert(fields.at(1), fields.at(0).toInt());
    }
    open();
    const auto storedSubjects = [&] {
        QStringList subjects;
        if (auto list = db_->GetMessages(QString())) {
            for (const auto& m : list->Messages()) {
                subjects << m->Subject();
            }
        }
        return subjects;
    };
    for (auto it = reported.cbegin(); it != reported.cend(); ++it) {
        const auto message = db_->GetMessage(it.value());
        ASSERT_NE(message, nullptr) << it.key().toStdString();
        EXPECT_EQ(message->Subject(), subjectOf(it.key()));
    }
    const QStringList afterKill = storedSubjects();
    const qsizetype unreported = afterKill.size() - reported.size();
    EXPECT_GE(unreported, 0);
    EXPECT_LE(unreported, 1) << "stored but never reported";

    // The caller's retry: the files it read no line for.
    QStringList rest;
    for (const QString& file : files) {
        if (!reported.contains(file)) {
            rest << file;
        }
    }
    const ToolRun again = tool(QStringList{QStringLiteral("import"), folder_} + rest);
    ASSERT_EQ(again.Code, 0) << again.Err.toStdString();
    const QStringList all = storedSubjects();
    int twice = 0;
    for (const QString& file : files) {
        const qsizetype copies = all.count(subjectOf(file));
        EXPECT_GE(copies, 1) << file.toStdString();
        twice += copies > 1 ? 1 : 0;
    }
    // Twice only when the kill fell between the commit of the file in hand and its line.
    EXPECT_EQ(twice, unreported);
    EXPECT_EQ(all.size(), files.size() + unreported);
}

TEST(TerminalText, ControlAndDirectionCharactersAreShownEscaped) {
    struct Case {
        const char* name;
        QString text;
        QString shown;
    };
    const Case cases[] = {
        {"plain text", QStringLiteral("Request for the breakfast show"),
         QStringLiteral("Request for the breakfast show")},
        {"letters of any script", QStringLiteral("caf\u00e9 \u2013 \u6771\u4eac \U0001F600"),
         QStringLiteral("caf\u00e9 \u2013 \u6771\u4eac \U0001F600")},
        {"escape sequence", QStringLiteral("\x1b[2J\x1b]0;owned\x07"),
         QStringLiteral("\\x1b[2J\\x1b]0;owned\\x07")},
        {"tab and line breaks", QStringLiteral("a\tb\r\nc"), QStringLiteral("a\\x09b\\x0d\\x0ac")},
        {"nul and delete", QString(QChar(0)) + QStringLiteral("\x7f"),
         QStringLiteral("\\x00\\x7f")},
        {"C1 controls", QStringLiteral("\u009b31m\u0085"), QStringLiteral("\\x9b31m\\x85")},
        {"right-to-left override", QStringLiteral("invoice\u202Efdp.exe"),
         QStringLiteral("invoice\\u202efdp.exe")},
        {"embeddings, isolates and marks",
         QStringLiteral("\u202A\u202B\u202C\u202D\u2066\u2067\u2068\u2069\u200E\u200F\u061C"),
         QStringLiteral("\\u202a\\u202b\\u202c\\u202d\\u2066\\u2067\\u2068\\u2069\\u200e"
                        "\\u200f\\u061c")},
        {"line and paragraph separators", QStringLiteral("a\u2028b\u2029"),
         QStringLiteral("a\\u2028b\\u2029")},
        {"a backslash cannot pass for an escape", QStringLiteral("\\x1b"),
         QStringLiteral("\\\\x1b")},
        {"empty", QString(), QString()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TerminalText(c.text), c.shown) << c.name;
    }
}

TEST_F(MessagesDbTest, TheToolsListShowsAListenersControlCharactersEscaped) {
    open();
    auto m = email(QStringLiteral("Win \x1b[2J\x07now \u202Egnp.exe"),
                   QStringLiteral("\"Ann \x1b]0;owned\x07\" <ann@example.org>"));
    m->SetFolder(OrlixDatabase::kInboxFolder);
    bool ok = false;
    db_->StoreMessage(*m, ok);
    ASSERT_TRUE(ok);

    const ToolRun r = tool({QStringLiteral("list"), folder_});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_FALSE(hasRawControls(r.Out)) << r.Out.toStdString();
    EXPECT_TRUE(r.Out.contains(QStringLiteral("Ann \\x1b]0;owned\\x07"))) << r.Out.toStdString();
    EXPECT_TRUE(r.Out.endsWith(QStringLiteral("\tWin \\x1b[2J\\x07now \\u202egnp.exe\n")))
        << r.Out.toStdString();
}

TEST_F(MessagesDbTest, AnImportedBodyIsStoredAsTheMessageObjectReadsItWithoutItsNul) {
    struct Case {
        const char* name;
        bool sms;
        QByteArray bytes;
        QString stored;
    };
    const QByteArray nulBody("Body before \0 after the NUL.", 28);
    const Case cases[] = {
        {"a UTF-8 body with a NUL", false,
         QByteArray("From: Ann <ann@example.org>\r\nSubject: Nul\r\nMIME-Version: 1.0\r\n"
                    "Content-Type: text/plain; charset=utf-8\r\n"
                    "Content-Transfer-Encoding: 8bit\r\n\r\n") +
             nulBody + "\r\n",
         QStringLiteral("Body before  after the NUL.")},
        {"8-bit bytes without a charset", false,
         QByteArray("From: Ann <ann@example.org>\r\nSubject: Cafe\r\n\r\nCaf\xe9 \x80\r\n"),
         QStringLiteral("Caf\u00e9 \u20ac")},
        {"an SMS form whose text holds a NUL", true,
         QByteArray("From: +44 7700 900123\r\nReceived: 2026-12-10T07:30:00Z\r\n\r\n") + nulBody,
         QStringLiteral("Body before  after the NUL.")},
    };
    open();
    for (const Case& c : cases) {
        const QString path = folder_ + QStringLiteral("/in.txt");
        writeFile(path, c.bytes);
        QStringList args{QStringLiteral("import"), folder_};
        if (c.sms) {
            args << QStringLiteral("--sms");
        }
        const ToolRun r = tool(args << path);
        ASSERT_EQ(r.Code, 0) << c.name << r.Err.toStdString();
        const qint32 reference = r.Out.section(QLatin1Char('\t'), 0, 0).toInt();
        const std::shared_ptr<OrlixMessage> m = db_->GetMessage(reference);
        ASSERT_TRUE(m) << c.name;
        EXPECT_EQ(m->BodyText(), c.stored) << c.name;
        QString shown = m->CDOMessage().TextBody();
        shown.remove(QChar(u'\0'));
        while (shown.endsWith(QLatin1Char('\n'))) {
            shown.chop(1);
        }
        EXPECT_EQ(m->BodyText(), shown) << c.name;
        // The printed message and its summary hold the text past the NUL.
        const QString tail = c.stored.mid(c.stored.lastIndexOf(QLatin1Char(' '), -3) + 1);
        for (const char* tag : {"<OCP_MESSAGE_BODY>", "<OCP_MESSAGE_SUMMARY>"}) {
            EXPECT_TRUE(m->ApplyTemplate(QString::fromLatin1(tag), 0).contains(tail))
                << c.name << " " << tag << " " << tail.toStdString();
        }
    }
}

// The SMS form ends a line with CR LF or a CR alone; the text keeps neither at its end.
TEST(SmsForm, LineEndsOfEitherKindAndNoBareCrInTheText) {
    const struct {
        QByteArray form;
        QString text;
    } cases[] = {
        {"From: 07700900123\r\n\r\nPlay\r\nit\r\n", QStringLiteral("Play\nit")},
        {"From: 07700900123\r\rPlay\rit\r", QStringLiteral("Play\nit")},
        {"From: 07700900123\n\nPlay\r", QStringLiteral("Play")},
    };
    for (const auto& c : cases) {
        SmsForm form;
        QString why;
        ASSERT_TRUE(ReadSmsForm(c.form, form, why)) << why.toStdString();
        EXPECT_EQ(form.From, QStringLiteral("07700900123"));
        EXPECT_EQ(form.Text, c.text) << c.form.toStdString();
        EXPECT_EQ(ReadMessageColumns(
                      BuildTextMessage(form.From, form.To, QString(), form.Text, QDateTime()))
                      .TextBody,
                  c.text);
    }
}

TEST_F(MessagesDbTest, TheToolShowsAndSetsTheStationsDetails) {
    ASSERT_EQ(tool({QStringLiteral("create"), folder_}).Code, 0);
    ToolRun r = tool({QStringLiteral("station"), folder_, QStringLiteral("--name"),
                      QStringLiteral(" Radio Kestova "), QStringLiteral("--address"),
                      QStringLiteral("1 High Street\\nTown"), QStringLiteral("--sms"),
                      QStringLiteral("+44 7700 900123")});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    // Only what was given changes.
    r = tool({QStringLiteral("station"), folder_, QStringLiteral("--vat"), QStringLiteral("GB1")});
    ASSERT_EQ(r.Code, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out,
              QStringLiteral("name\tRadio Kestova\naddress\t1 High Street\\x0aTown\nphone\t\n"
                             "sms\t+44 7700 900123\ncompany\t\nvat\tGB1\n"));
    open();
    EXPECT_EQ(db_->StationName(), QStringLiteral("Radio Kestova"));
    EXPECT_EQ(db_->StationAddressString(QStringLiteral(", ")),
              QStringLiteral("1 High Street, Town"));

    struct Refused {
        QStringList args;
        int code;
    };
    const Refused refused[] = {
        {{QStringLiteral("--sms"), QStringLiteral("07700-900")}, 1},
        {{QStringLiteral("--name")}, 1},
        {{QStringLiteral("--colour"), QStringLiteral("red")}, 1},
    };
    for (const Refused& c : refused) {
        r = tool(QStringList{QStringLiteral("station"), folder_} + c.args);
        EXPECT_EQ(r.Code, c.code) << c.args.join(' ').toStdString();
    }
    r = tool({QStringLiteral("station"), folder_});
    EXPECT_TRUE(r.Out.contains(QStringLiteral("sms\t+44 7700 900123\n"))) << "nothing was changed";
}
