#include "messagesdbfixture.h"

#include "platform/messagesdb/messagesschema.h"
#include "platform/messagesdb/messagesstorage.h"
#include "platform/messagesdb/storeddates.h"
#include "support/readonlyfolder.h"
#include "support/toolrun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <csignal>
#include <future>
#include <iostream>
#include <thread>

#include <unistd.h>

namespace {
QString dbFile(const QString& folder) {
    return folder + QStringLiteral("/") + QLatin1String(MessagesStorage::kFileName);
}

// Runs statements on the file through a connection of its own, as another program would.
void rawExec(const QString& file, const QStringList& statements) {
    {
        QSqlDatabase raw =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        raw.setDatabaseName(file);
        ASSERT_TRUE(raw.open());
        QSqlQuery q(raw);
        for (const QString& s : statements) {
            ASSERT_TRUE(q.exec(s)) << s.toStdString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
}
} // namespace

TEST_F(MessagesDbTest, OpeningAnEmptyFolderCreatesTheDatabaseWithItsTemplates) {
    open();
    EXPECT_TRUE(logged(QStringLiteral("Created a new messages database in '%1'").arg(folder_)));
    EXPECT_TRUE(QFileInfo::exists(dbFile(folder_)));
    EXPECT_EQ(db_->DatabasePath(), folder_);
    EXPECT_EQ(db_->TemplatesPath(), folder_ + QStringLiteral("/Templates"));
    for (const char* name : {"Messages-List.htm", "Print-Message.htm", "Print-PrizeWinners.htm",
                             "email.svg", "sms.svg"}) {
        EXPECT_GT(QFileInfo(db_->TemplatesPath() + QLatin1Char('/') + QLatin1String(name)).size(),
                  0)
            << name;
    }

    // Opened again: nothing is created, the same path comes back.
    bool ok = false;
    db_->CloseDatabase(ok);
    EXPECT_EQ(db_->DatabasePath(), QString());
    EXPECT_EQ(db_->TemplatesPath(), QString());
    log_.clear();
    open();
    EXPECT_FALSE(logged(QStringLiteral("Created a new")));
}

// Two computers find the same new, empty file: the other one takes the write lock first and
// makes the tables while this one has already read that the file is empty.
TEST_F(MessagesDbTest, TwoComputersCreatingTheDatabaseAtOnceBothOpenIt) {
    const QString file = dbFile(folder_);
    std::promise<void> holding;
    std::promise<void> emptyFound;
    std::shared_future<void> goOn = emptyFound.get_future().share();
    std::thread otherComputer([&] {
        const QString name = QStringLiteral("other-computer");
        {
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            raw.setDatabaseName(file);
            EXPECT_TRUE(raw.open());
            QSqlQuery q(raw);
            EXPECT_TRUE(q.exec(QStringLiteral("BEGIN IMMEDIATE")));
            for (const QString& statement : MessagesSchemaSteps(1)) {
                EXPECT_TRUE(q.exec(statement)) << statement.toStdString();
            }
            EXPECT_TRUE(q.exec(QStringLiteral(
                "INSERT INTO orlix_meta (name, value) VALUES ('schema_version', '1')")));
            holding.set_value();
            goOn.wait();
            EXPECT_TRUE(q.exec(QStringLiteral("COMMIT")));
        }
        QSqlDatabase::removeDatabase(name);
    });
    holding.get_future().wait();

    bool signalled = false;
    SetPlatformLogHandler([&](const QString& text, int) {
        log_ << text;
        if (!signalled && text.contains(QStringLiteral("from schema version 0"))) {
            signalled = true;
            emptyFound.set_value();
        }
    });
    MessagesStorage storage;
    storage.SetBusyTimeout(30000);
    QString why;
    const MessagesOpenResult result = storage.Open(file, true, &why);
    if (!signalled) {
        emptyFound.set_value(); // never let the other computer wait for ever
    }
    otherComputer.join();
    EXPECT_TRUE(signalled) << "this computer did not find the file empty";
    ASSERT_EQ(result, MessagesOpenResult::Opened)
        << "not Created: the other made it; " << why.toStdString();
    QSqlQuery q = storage.Prepare(QStringLiteral("SELECT COUNT(*) FROM folders"));
    ASSERT_TRUE(MessagesStorage::Exec(q, "counting"));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 6);
}

TEST_F(MessagesDbTest, AStationsEditedTemplateIsKeptWhenTheDatabaseIsCreated) {
    QDir().mkpath(folder_ + QStringLiteral("/Templates"));
    QFile own(folder_ + QStringLiteral("/Templates/Messages-List.htm"));
    ASSERT_TRUE(own.open(QIODevice::WriteOnly));
    own.write("<html>ours</html>");
    own.close();
    open();
    QFile again(db_->TemplatesPath() + QStringLiteral("/Messages-List.htm"));
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), QByteArray("<html>ours</html>"));
}

TEST_F(MessagesDbTest, AMissingFolderFailsWithALogLine) {
    EXPECT_EQ(db_->OpenDatabase(folder_ + QStringLiteral("/nowhere"), QString()),
              OrlixDatabase::FolderMissing);
    EXPECT_EQ(db_->OpenDatabase(QString(), QString()), OrlixDatabase::FolderMissing);
    EXPECT_FALSE(db_->IsOpen());
    EXPECT_TRUE(logged(QStringLiteral("Could not open the messages database")));
    EXPECT_EQ(db_->GetMessage(1), nullptr);
    EXPECT_EQ(db_->GetMessages(QString()), nullptr);
}

TEST_F(MessagesDbTest, AFolderThatCannotBeWrittenFails) {
    const ReadOnlyFolder readOnly(folder_);
    if (!readOnly.Problem().isEmpty()) {
        GTEST_SKIP() << readOnly.Problem().toStdString();
    }
    EXPECT_EQ(db_->OpenDatabase(folder_, QString()), OrlixDatabase::FolderNotWritable);
}

TEST_F(MessagesDbTest, ACorruptFileFailsCleanlyAndIsLeftAsItWas) {
    const QByteArray garbage("this is not a database, but somebody's file\n", 44);
    QFile file(dbFile(folder_));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(garbage.repeated(200));
    file.close();
    EXPECT_EQ(db_->OpenDatabase(folder_, QString()), OrlixDatabase::DatabaseCorrupt);
    EXPECT_FALSE(db_->IsOpen());
    EXPECT_TRUE(logged(QStringLiteral("Could not open the messages database")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), garbage.repeated(200));
}

// Only a whole database ever takes the file's name, so a file without a schema is damaged,
// never an empty database to fill: it is refused and kept for whoever looks into it.
TEST_F(MessagesDbTest, AnEmptyFileIsRefusedAsDamagedAndLeftAsItWas) {
    QFile file(dbFile(folder_));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const qint32 code = db_->OpenDatabase(folder_, QString());
    EXPECT_EQ(code, OrlixDatabase::DatabaseCorrupt);
    EXPECT_EQ(OrlixDatabase::OpenProblem(code),
              QStringLiteral("its file is damaged or is not a messages database."));
    EXPECT_FALSE(db_->IsOpen());
    EXPECT_EQ(QFileInfo(dbFile(folder_)).size(), 0);
    EXPECT_FALSE(logged(QStringLiteral("Created a new")));
    EXPECT_EQ(QDir(folder_).entryList(QDir::Files | QDir::Hidden),
              QStringList{QLatin1String(MessagesStorage::kFileName)});
}

// Left by an earlier version killed between its schema and its templates.
TEST_F(MessagesDbTest, AFileWithItsSchemaButNoTemplatesIsCompletedOnceAtItsNextOpen) {
    const auto registered = [this] {
        return db_->GetTemplateList(QStringLiteral("PrintMessage")).size() +
               db_->GetTemplateList(QStringLiteral("PrintPrizeWinners")).size();
    };
    open();
    const qsizetype templates = registered();
    ASSERT_GT(templates, 0);
    bool ok = false;
    db_->CloseDatabase(ok);
    rawExec(dbFile(folder_),
            {QStringLiteral("DELETE FROM templates"),
             QStringLiteral("DELETE FROM settings WHERE name = 'TemplatesFolder'")});
    ASSERT_TRUE(QDir(folder_ + QStringLiteral("/Templates")).removeRecursively());

    for (int round = 0; round < 2; ++round) {
        log_.clear();
        open();
        EXPECT_EQ(db_->TemplatesPath(), folder_ + QStringLiteral("/Templates"));
        EXPECT_EQ(registered(), templates) << "round " << round;
        EXPECT_GT(QFileInfo(folder_ + QStringLiteral("/Templates/Messages-List.htm")).size(), 0);
        EXPECT_EQ(logged(QStringLiteral("Completed the messages database")), round == 0);
        db_->CloseDatabase(ok);
    }
}

// A maker killed at any moment leaves no database file or a whole one, never a part.
TEST_F(MessagesDbTest, AKilledCreateLeavesNoDatabaseOrAWholeOne) {
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(RunTool(QStringLiteral(ORLIX_MESSAGES_TOOL),
                      {QStringLiteral("create"), TestHome() + QStringLiteral("/timed")})
                  .Code,
              2)
        << "the folder must exist";
    const QString timed = TestHome() + QStringLiteral("/timed");
    QDir().mkpath(timed);
    timer.restart();
    ASSERT_EQ(RunTool(QStringLiteral(ORLIX_MESSAGES_TOOL), {QStringLiteral("create"), timed}).Code,
              0);
    const qint64 whole = std::max<qint64>(timer.nsecsElapsed() / 1000, 1000);

    int kept = 0;
    for (int round = 0; round < 50; ++round) {
        const QString folder = TestHome() + QStringLiteral("/kill-%1").arg(round);
        QDir().mkpath(folder);
        QProcess maker;
        maker.start(QStringLiteral(ORLIX_MESSAGES_TOOL), {QStringLiteral("create"), folder});
        ASSERT_TRUE(maker.waitForStarted(10000));
        ::usleep(static_cast<useconds_t>(QRandomGenerator::global()->bounded(whole)));
        ::kill(static_cast<pid_t>(maker.processId()), SIGKILL);
        maker.waitForFinished(30000);
        const QString file = dbFile(folder);
        if (!QFileInfo::exists(file)) {
            continue;
        }
        ++kept;
        // Read as another program would, before any open could complete it.
        const QString name = QStringLiteral("look-%1").arg(round);
        {
            QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            raw.setDatabaseName(file);
            raw.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            ASSERT_TRUE(raw.open());
            QSqlQuery q(raw);
            ASSERT_TRUE(q.exec(QStringLiteral(
                "SELECT (SELECT COUNT(*) FROM templates), (SELECT COUNT(*) FROM settings WHERE "
                "name = 'TemplatesFolder')")))
                << "round " << round << ": " << q.lastError().text().toStdString();
            ASSERT_TRUE(q.next());
            EXPECT_GT(q.value(0).toInt(), 0) << "round " << round;
            EXPECT_EQ(q.value(1).toInt(), 1) << "round " << round;
        }
        QSqlDatabase::removeDatabase(name);
        OrlixDatabase db;
        db.SetChangeWatch(0, 0);
        EXPECT_EQ(db.OpenDatabase(folder, QString()), 0) << "round " << round;
    }
    std::cout << kept << " of 50 killed makers had put a whole database in place\n";
}

TEST_F(MessagesDbTest, AnotherProgramsDatabaseIsRefused) {
    rawExec(dbFile(folder_), {QStringLiteral("CREATE TABLE accounts (id INTEGER)")});
    EXPECT_EQ(db_->OpenDatabase(folder_, QString()), OrlixDatabase::DatabaseCorrupt);
}

TEST_F(MessagesDbTest, ANewerSchemaIsRefused) {
    open();
    bool ok = false;
    db_->CloseDatabase(ok);
    rawExec(dbFile(folder_),
            {QStringLiteral("UPDATE orlix_meta SET value = '99' WHERE name = 'schema_version'")});
    EXPECT_EQ(db_->OpenDatabase(folder_, QString()), OrlixDatabase::DatabaseTooNew);
    EXPECT_TRUE(logged(QStringLiteral("schema version 99")));
}

TEST_F(MessagesDbTest, AFileLockedPastTheBusyTimeoutFails) {
    open();
    bool ok = false;
    db_->CloseDatabase(ok);
    {
        QSqlDatabase raw =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
        raw.setDatabaseName(dbFile(folder_));
        ASSERT_TRUE(raw.open());
        QSqlQuery q(raw);
        ASSERT_TRUE(q.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        db_->SetBusyTimeout(100);
        EXPECT_EQ(db_->OpenDatabase(folder_, QString()), OrlixDatabase::DatabaseLocked);
        q.exec(QStringLiteral("ROLLBACK"));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("locker"));
    open();
}

TEST_F(MessagesDbTest, TheTransactionGuardRollsBackUnlessCommitted) {
    MessagesStorage storage;
    ASSERT_EQ(storage.Open(dbFile(folder_), true, nullptr), MessagesOpenResult::Created);
    const auto count = [&] {
        QSqlQuery q = storage.Prepare(QStringLiteral("SELECT COUNT(*) FROM hour_patterns"));
        EXPECT_TRUE(MessagesStorage::Exec(q, "counting"));
        return q.next() ? q.value(0).toInt() : -1;
    };
    {
        MessagesTransaction tx(storage);
        ASSERT_TRUE(tx.Active());
        QSqlQuery q =
            storage.Prepare(QStringLiteral("INSERT INTO hour_patterns (name, name_key, pattern) "
                                           "VALUES ('Week', 'week', ?)"));
        q.addBindValue(QStringLiteral("A.B.C.D.E.F.G"));
        ASSERT_TRUE(MessagesStorage::Exec(q, "inserting"));
        // No Commit: the guard undoes it.
    }
    EXPECT_EQ(count(), 0);
    {
        MessagesTransaction tx(storage);
        QSqlQuery q =
            storage.Prepare(QStringLiteral("INSERT INTO hour_patterns (name, name_key, pattern) "
                                           "VALUES ('Week', 'week', ?)"));
        q.addBindValue(QStringLiteral("A.B.C.D.E.F.G"));
        ASSERT_TRUE(MessagesStorage::Exec(q, "inserting"));
        EXPECT_TRUE(tx.Commit());
    }
    EXPECT_EQ(count(), 1);
}

TEST_F(MessagesDbTest, ASnapshotIsAWorkingCopyOfTheDatabase) {
    open();
    storeReceived(QStringLiteral("kept"), QDateTime::currentDateTimeUtc());
    const QString copyFolder = TestHome() + QStringLiteral("/Copy");
    QDir().mkpath(copyFolder);
    EXPECT_TRUE(db_->SnapshotDatabase(dbFile(copyFolder)));
    EXPECT_FALSE(db_->SnapshotDatabase(dbFile(copyFolder))) << "an existing file is never replaced";
    OrlixDatabase copy;
    copy.SetChangeWatch(0, 0);
    ASSERT_EQ(copy.OpenDatabase(copyFolder, QString()), 0);
    auto list = copy.GetMessages(QString());
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Item(1)->Subject(), QStringLiteral("kept"));
}

// A file of the first schema kept hour patterns without names: they open named by the order
// they were kept, and a pattern may then be kept under a second name.
TEST_F(MessagesDbTest, AVersionOneFileOpensWithItsHourPatternsNamed) {
    QStringList statements = MessagesSchemaSteps(1);
    statements << QStringLiteral(
                      "INSERT INTO orlix_meta (name, value) VALUES ('schema_version', '1')")
               << QStringLiteral("INSERT INTO hour_patterns (reference, pattern) VALUES"
                                 " (4, 'A.B.C.D.E.F.G'), (9, 'X.X.X.X.X.X.X'), (7, 'AB.....')");
    rawExec(dbFile(folder_), statements);
    open();
    EXPECT_TRUE(
        logged(QStringLiteral("from schema version 1 to %1").arg(MessagesStorage::kCurrentSchema)));
    EXPECT_EQ(db_->HourPatternNames(),
              (QStringList{QStringLiteral("Hours 1"), QStringLiteral("Hours 2"),
                           QStringLiteral("Hours 3")}));
    EXPECT_EQ(db_->HourPattern(QStringLiteral("hours 2")), QStringLiteral("AB....."));
    EXPECT_EQ(db_->HourPattern(QStringLiteral("Hours 3")), QStringLiteral("X.X.X.X.X.X.X"));
    EXPECT_TRUE(db_->KeepHourPattern(QStringLiteral("Again"), QStringLiteral("A.B.C.D.E.F.G")));
    EXPECT_EQ(db_->HourPatterns().count(QStringLiteral("A.B.C.D.E.F.G")), 2);
    EXPECT_TRUE(db_->DeleteHourPattern(QStringLiteral("HOURS 1")));
    EXPECT_FALSE(db_->DeleteHourPattern(QStringLiteral("Hours 1")));
    EXPECT_EQ(db_->HourPattern(QStringLiteral("Hours 1")), QString());
}

namespace {
// Every field a list shows, for comparing one read of a message with another.
void expectSameMessage(const OrlixMessage& got, const OrlixMessage& want) {
    EXPECT_EQ(got.Reference(), want.Reference());
    EXPECT_EQ(got.Folder(), want.Folder());
    EXPECT_EQ(got.Kind(), want.Kind());
    EXPECT_EQ(got.Flags(), want.Flags());
    EXPECT_EQ(got.PersonalOwner(), want.PersonalOwner());
    EXPECT_EQ(got.InheritedValue(), want.InheritedValue());
    for (const auto& [a, b] : {std::pair{got.ReceivedDate(), want.ReceivedDate()},
                               std::pair{got.SentDate(), want.SentDate()},
                               std::pair{got.SendAfterDate(), want.SendAfterDate()}}) {
        EXPECT_EQ(a.isValid(), b.isValid());
        EXPECT_EQ(a, b);
    }
    const QString gotTexts[] = {got.Subject(), got.FromText(), got.ToText(), got.CcText(),
                                got.BodyText()};
    const QString wantTexts[] = {want.Subject(), want.FromText(), want.ToText(), want.CcText(),
                                 want.BodyText()};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(gotTexts[i], wantTexts[i]) << i;
        EXPECT_EQ(gotTexts[i].isNull(), wantTexts[i].isNull()) << i;
    }
    EXPECT_EQ(got.MessageBytes(), want.MessageBytes());
}
} // namespace

// The delivering program and older versions write the file too: whatever they leave in a
// row (no dates, a real or a text where a whole number belongs, a number or bytes that are
// not UTF-8 where a text belongs), a list reads each row exactly as a single message read
// of it does, and in the same order as before.
TEST_F(MessagesDbTest, RowsWrittenElsewhereReadTheSameInAListAsAlone) {
    open();
    const qint32 ours = storeReceived(QStringLiteral("Ours"), QDateTime::currentDateTimeUtc());
    rawExec(dbFile(folder_),
            {QStringLiteral("INSERT INTO messages (reference, folder, kind, mime) VALUES"
                            " (100, 3, 1, x'')"),
             QStringLiteral(
                 "INSERT INTO messages (reference, folder, kind, flags, personal_owner,"
                 " inherited_value, received_utc, sent_utc, send_after_utc, subject, from_text,"
                 " to_text, cc_text, body_text, mime) VALUES"
                 " (101, 3.0, 2.9, 'x', 1099511627776, -5, 1765400000000.6, '1765400000000',"
                 " '12abc', 42, x'ff41', x'e282ac', '', 'Zoë 📻 Пётр', x'4d')"),
             QStringLiteral("INSERT INTO messages (reference, folder, kind, received_utc, sent_utc,"
                            " subject, mime) VALUES (102, 3, 1, NULL, 1765300000000, 4.5, x'')"),
             QStringLiteral("INSERT INTO messages (reference, folder, kind, received_utc,"
                            " subject, mime) VALUES (103, 3, 1, 'soon', 'a text date', x'')")});
    const auto list = db_->GetMessages(QString());
    ASSERT_NE(list, nullptr);
    QList<qint32> order;
    for (int i = 1; i <= list->Count(); ++i) {
        const auto inList = list->Item(i);
        order << inList->Reference();
        const auto alone = db_->GetMessage(inList->Reference());
        ASSERT_NE(alone, nullptr);
        SCOPED_TRACE(inList->Reference());
        expectSameMessage(*inList, *alone);
    }
    // Texts sort after numbers, and a real after the whole numbers below it.
    EXPECT_EQ(order, (QList<qint32>{103, ours, 101, 102, 100}));
}

// Another computer bringing the file to a new schema, or rebuilding an index the list's
// statement reads, while this one keeps its statements: the next list is read through the
// new schema, never a stale statement.
TEST_F(MessagesDbTest, AListAfterAnotherConnectionChangesTheSchemaReadsTheNewFile) {
    open();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    storeReceived(QStringLiteral("First"), now.addSecs(-120));
    const QString lastHour =
        QStringLiteral("[Received]>") +
        QString::number(StoredDates::ToDateNumber(now.addSecs(-3600)), 'f', 10);
    const auto subjects = [&] {
        QStringList out;
        const auto list = db_->GetMessages(lastHour);
        for (int i = 1; list && i <= list->Count(); ++i) {
            out << list->Item(i)->Subject();
        }
        return out;
    };
    ASSERT_EQ(subjects(), QStringList{QStringLiteral("First")});
    rawExec(dbFile(folder_),
            {QStringLiteral("DROP INDEX messages_by_received"),
             QStringLiteral("CREATE TABLE filler (x BLOB)"),
             QStringLiteral("INSERT INTO filler VALUES (zeroblob(100000))"),
             QStringLiteral("CREATE INDEX messages_by_received ON messages (received_utc)"),
             QStringLiteral("ALTER TABLE messages ADD COLUMN note TEXT NOT NULL DEFAULT ''")});
    storeReceived(QStringLiteral("Second"), now.addSecs(-60));
    EXPECT_EQ(subjects(), (QStringList{QStringLiteral("Second"), QStringLiteral("First")}));
    EXPECT_FALSE(logged(QStringLiteral("failed")));
}

namespace {
// How many of the process's open files are this one.
int openHandlesOn(const QString& file) {
    const QString target = QFileInfo(file).canonicalFilePath();
    int count = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& fd :
         fds.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        count += QFile::symLinkTarget(fds.filePath(fd)) == target ? 1 : 0;
    }
    return count;
}
} // namespace

// SQLite keeps a connection, and its file, open while a statement of it is left: the list
// statements kept for the connection's lifetime must not outlive it.
TEST_F(MessagesDbTest, ClosingWithKeptListStatementsLetsTheFileGo) {
    open();
    storeReceived(QStringLiteral("Kept"), QDateTime::currentDateTimeUtc());
    ASSERT_EQ(db_->GetMessages(QString())->Count(), 1);
    ASSERT_EQ(db_->GetMessages(QStringLiteral("[Folder]=3"))->Count(), 1);
    EXPECT_GT(openHandlesOn(dbFile(folder_)), 0);
    bool ok = false;
    db_->CloseDatabase(ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(openHandlesOn(dbFile(folder_)), 0);
    open();
    EXPECT_EQ(db_->GetMessages(QString())->Count(), 1);
}

// The list's order (newest first by the first date set, then the newest row) is the one the
// statement's ORDER BY gives, whether the whole filter or only its newest rows are listed:
// equal dates, rows with no date at all, and rows dated only by when they were sent or are
// to be sent.
TEST_F(MessagesDbTest, AListIsInTheOrderOfItsStatementWithTiesAndMissingDates) {
    open();
    rawExec(dbFile(folder_),
            {QStringLiteral("INSERT INTO messages (reference, folder, kind, received_utc, sent_utc,"
                            " send_after_utc, mime) VALUES"
                            " (10, 3, 1, 5000, NULL, NULL, x''), (11, 3, 1, 5000, 1, 1, x''),"
                            " (12, 3, 1, NULL, 5000, NULL, x''), (13, 3, 1, NULL, NULL, 7000, x''),"
                            " (14, 3, 1, NULL, NULL, NULL, x''), (15, 3, 1, NULL, NULL, NULL, x''),"
                            " (16, 3, 1, -1, NULL, NULL, x''), (17, 3, 1, 9000, 1, NULL, x''),"
                            " (18, 4, 1, 4000, NULL, NULL, x'')")});
    const QList<qint32> all = {17, 13, 12, 11, 10, 18, 15, 14, 16};
    struct Case {
        QString filter;
        int limit;
        QList<qint32> want;
    };
    const Case cases[] = {
        {QString(), 0, all},
        {QString(), 4, all.mid(0, 4)},
        {QString(), 100, all},
        {QStringLiteral("[Folder]=3"), 0, {17, 13, 12, 11, 10, 15, 14, 16}},
        {QStringLiteral("[Folder]=3"), 6, {17, 13, 12, 11, 10, 15}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter.toStdString() + " " + std::to_string(c.limit));
        const auto list = db_->GetMessages(c.filter, c.limit);
        ASSERT_NE(list, nullptr);
        QList<qint32> got;
        for (int i = 1; i <= list->Count(); ++i) {
            got << list->Item(i)->Reference();
        }
        EXPECT_EQ(got, c.want);
    }
}

// A create killed before it cleaned up leaves its scratch file beside the database's name; the
// next computer that makes the file takes away those left long ago, and only those.
TEST_F(MessagesDbTest, AMakerTakesAwayScratchFilesLeftByMakersKilledLongAgo) {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const struct {
        const char* name;
        qint64 ageSeconds;
        bool stays;
    } cases[] = {
        {"messages.sqlite.new-0b9d2f5e-killed-two-hours-ago", 2 * 3600, false},
        {"messages.sqlite.new-0b9d2f5e-killed-two-hours-ago-journal", 2 * 3600, false},
        {"messages.sqlite.new-7c1a44d0-perhaps-still-making", 60, true},
        {"other.sqlite.new-5e0c", 2 * 3600, true},
    };
    for (const auto& c : cases) {
        QFile f(folder_ + QLatin1Char('/') + QLatin1String(c.name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("part");
        f.flush(); // written now, or the close would date it again
        ASSERT_TRUE(f.setFileTime(now.addSecs(-c.ageSeconds), QFileDevice::FileModificationTime));
    }
    open();
    for (const auto& c : cases) {
        EXPECT_EQ(QFile::exists(folder_ + QLatin1Char('/') + QLatin1String(c.name)), c.stays)
            << c.name;
    }
    EXPECT_TRUE(QFile::exists(folder_ + QStringLiteral("/messages.sqlite")));
}
