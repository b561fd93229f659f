#include "directoryfixture.h"

#include "platform/directory/directoryschema.h"
#include "platform/directory/directorystorage.h"
#include "support/readonlyfolder.h"
#include "support/scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <atomic>
#include <thread>

namespace {
class StorageTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetPlatformLogHandler([this](const QString& text, int) { log << text; });
    }
    void TearDown() override { SetPlatformLogHandler(nullptr); }

    bool logged(const QString& part) const {
        return std::any_of(log.begin(), log.end(),
                           [&](const QString& l) { return l.contains(part); });
    }
    static void writeFile(const QString& path, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray readFile(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QStringList log;
};

TEST_F(StorageTest, OpenDefaultCreatesAnEmptyDirectoryAtTheCurrentSchema) {
    const QString path = KVDirectory::DefaultFilePath();
    EXPECT_TRUE(path.startsWith(TestHome()));
    EXPECT_FALSE(QFile::exists(path));
    {
        KVDirectory directory;
        bool failed = true;
        directory.OpenDefault(true, failed);
        ASSERT_FALSE(failed);
        EXPECT_TRUE(QFile::exists(path));
        EXPECT_TRUE(logged(QStringLiteral("Created the default directory in '%1'")
                               .arg(QFileInfo(path).absolutePath())));
        EXPECT_EQ(directory.DataFolder(), QFileInfo(path).absolutePath());
        EXPECT_TRUE(QDir(directory.FilesFolder()).exists());
        EXPECT_EQ(directory.UserCount(), 0);
        bool ok = false;
        directory.Close(ok);
    }
    DirectoryStorage storage;
    ASSERT_EQ(storage.Open(path, false, nullptr), StorageOpenResult::Opened);
    EXPECT_EQ(storage.SchemaVersion(), DirectoryStorage::kCurrentSchema);
    QSqlQuery mode(storage.Database());
    ASSERT_TRUE(mode.exec(QStringLiteral("PRAGMA journal_mode")) && mode.next());
    EXPECT_EQ(mode.value(0).toString(), QStringLiteral("delete"));

    log.clear();
    KVDirectory second;
    bool failed = true;
    second.OpenDefault(true, failed);
    EXPECT_FALSE(failed);
    EXPECT_FALSE(logged(QStringLiteral("Created")));
}

TEST_F(StorageTest, MissingDirectoryIsNotCreatedUnlessAsked) {
    KVDirectory directory;
    bool failed = false;
    directory.OpenDefault(false, failed);
    EXPECT_TRUE(failed);
    EXPECT_FALSE(QFile::exists(KVDirectory::DefaultFilePath()));
}

// Only a missing file is made: an existing one that holds no directory (truncated to nothing,
// damaged, or another program's database) is never taken for a new directory, whose login
// would offer a first user with every right.
TEST_F(StorageTest, UnopenableFilesFailCleanlyAndKeepTheirBytes) {
    const QString path = KVDirectory::DefaultFilePath();
    QByteArray damagedHeader;
    {
        DirectoryStorage storage;
        ASSERT_EQ(storage.Open(path, true, nullptr), StorageOpenResult::Created);
    }
    damagedHeader = readFile(path);
    ASSERT_GT(damagedHeader.size(), 100);
    damagedHeader.replace(0, 16, QByteArray(16, 'x'));
    const QString foreignPath = TestHome() + QStringLiteral("/accounts.sqlite");
    {
        QSqlDatabase foreign =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
        foreign.setDatabaseName(foreignPath);
        ASSERT_TRUE(foreign.open());
        QSqlQuery q(foreign);
        ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE accounts (id INTEGER, owner TEXT)")));
        ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO accounts VALUES (1, 'station')")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
    const QByteArray foreign = readFile(foreignPath);
    ASSERT_GT(foreign.size(), 0);
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"text", QByteArray("this is no database at all, just text. ").repeated(200)},
        {"damaged header", damagedHeader},
        {"empty", QByteArray()},
        {"another program's database", foreign},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray& bytes = c.bytes;
        writeFile(path, bytes);
        log.clear();
        KVDirectory directory;
        bool failed = false;
        directory.OpenDefault(true, failed);
        EXPECT_TRUE(failed);
        EXPECT_FALSE(directory.IsOpen());
        EXPECT_TRUE(logged(QStringLiteral("could not be opened")));
        EXPECT_TRUE(logged(QStringLiteral("damaged")));
        EXPECT_EQ(readFile(path), bytes);

        // Every member stays harmless after the failed open.
        bool ok = true;
        directory.Applications().Register(32, nullptr, ok);
        EXPECT_FALSE(ok);
        directory.Logout();
        EXPECT_EQ(directory.GetContact(1, true, true), nullptr);
        EXPECT_TRUE(directory.FindContacts(QStringLiteral("[Name]=\"x\"")).isEmpty());
        EXPECT_TRUE(directory.FindContactsByPhoneNumber(QStringLiteral("123")).isEmpty());
        bool cancelled = false;
        directory.Login(32, QStringLiteral("Kestova Orlix v1"), nullptr, false, 0, cancelled);
        EXPECT_TRUE(cancelled);
        EXPECT_TRUE(TestDialogs().shown().empty()) << "no login dialog, so no first user";
        directory.Applications().Unregister(32, nullptr, ok);
        directory.Close(ok);
    }
}

TEST_F(StorageTest, AFileOfTheFirstVersionGainsNotesAndKeepsItsContacts) {
    const QString path = KVDirectory::DefaultFilePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    {
        // A directory as the first version of the program left it.
        auto db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("v1"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        for (const QString& sql : DirectorySchemaSteps(1)) {
            ASSERT_TRUE(q.exec(sql)) << sql.toStdString();
        }
        ASSERT_TRUE(q.exec(QStringLiteral(
            "INSERT INTO contacts (name, address) VALUES ('Old Listener', '1 High St')")));
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA user_version = 1")));
        q = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("v1"));
    KVDirectory directory;
    bool failed = true;
    directory.OpenDefault(false, failed);
    ASSERT_FALSE(failed);
    const auto c = directory.GetContact(1, true, true);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->Name(), QStringLiteral("Old Listener"));
    EXPECT_EQ(c->Address(), QStringLiteral("1 High St"));
    EXPECT_EQ(c->Notes(), QString());
}

TEST_F(StorageTest, ANewerSchemaIsRefused) {
    const QString path = KVDirectory::DefaultFilePath();
    {
        DirectoryStorage storage;
        ASSERT_EQ(storage.Open(path, true, nullptr), StorageOpenResult::Created);
        QSqlQuery q(storage.Database());
        ASSERT_TRUE(q.exec(
            QStringLiteral("PRAGMA user_version = %1").arg(DirectoryStorage::kCurrentSchema + 1)));
    }
    KVDirectory directory;
    bool failed = false;
    directory.OpenDefault(true, failed);
    EXPECT_TRUE(failed);
    EXPECT_TRUE(logged(QStringLiteral("newer than this program knows")));
}

TEST_F(StorageTest, ALocationThatCannotBeWrittenFails) {
    // A file where the directory's folder should be.
    writeFile(TestHome() + QStringLiteral("/Kestova"), "in the way");
    KVDirectory directory;
    bool failed = false;
    directory.OpenDefault(true, failed);
    EXPECT_TRUE(failed);
    EXPECT_TRUE(logged(QStringLiteral("could not be made")));
}

TEST_F(StorageTest, AFolderWithoutWriteAccessFails) {
    const QString folder = QFileInfo(KVDirectory::DefaultFilePath()).absolutePath();
    ASSERT_TRUE(QDir().mkpath(folder));
    const ReadOnlyFolder readOnly(folder);
    if (!readOnly.Problem().isEmpty()) {
        GTEST_SKIP() << readOnly.Problem().toStdString();
    }
    KVDirectory directory;
    bool failed = false;
    directory.OpenDefault(true, failed);
    EXPECT_TRUE(failed);
    EXPECT_TRUE(logged(QStringLiteral("cannot be written")));
}

TEST_F(StorageTest, AFileLockedPastTheBusyTimeoutFails) {
    const QString path = KVDirectory::DefaultFilePath();
    DirectoryStorage holder;
    ASSERT_EQ(holder.Open(path, true, nullptr), StorageOpenResult::Created);
    QSqlQuery lock(holder.Database());
    ASSERT_TRUE(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));

    KVDirectory directory;
    bool failed = false;
    directory.OpenDefault(true, failed);
    EXPECT_TRUE(failed);
    EXPECT_TRUE(logged(QStringLiteral("locked")));
    ASSERT_TRUE(lock.exec(QStringLiteral("ROLLBACK")));
}

TEST_F(StorageTest, AGuardRollsBackUnlessCommitted) {
    DirectoryStorage storage;
    ASSERT_EQ(storage.Open(KVDirectory::DefaultFilePath(), true, nullptr),
              StorageOpenResult::Created);
    auto countSites = [&] {
        QSqlQuery q(storage.Database());
        q.exec(QStringLiteral("SELECT count(*) FROM websites"));
        q.next();
        return q.value(0).toInt();
    };
    auto insert = [&] {
        QSqlQuery q = storage.Prepare(QStringLiteral("INSERT INTO websites (address) VALUES (?)"));
        q.addBindValue(QStringLiteral("https://example.org/"));
        EXPECT_TRUE(DirectoryStorage::Exec(q, "test"));
    };
    {
        DirectoryTransaction tx(storage);
        ASSERT_TRUE(tx.Active());
        insert();
    }
    EXPECT_EQ(countSites(), 0);
    {
        DirectoryTransaction tx(storage);
        insert();
        DirectoryTransaction nested(storage);
        EXPECT_FALSE(nested.Active());
        EXPECT_TRUE(tx.Commit());
    }
    EXPECT_EQ(countSites(), 1);
}

// Two studio computers starting at the same moment on a station without a directory: one
// makes it, the other opens what the first made, never a file still being made.
TEST_F(StorageTest, TwoComputersMakingTheDirectoryAtOnceBothOpenIt) {
    const QString path = KVDirectory::DefaultFilePath();
    for (int round = 0; round < 25; ++round) {
        SCOPED_TRACE(round);
        QFile::remove(path);
        std::atomic<bool> go{false};
        StorageOpenResult results[2] = {StorageOpenResult::Failed, StorageOpenResult::Failed};
        QString errors[2];
        auto open = [&](int i) {
            while (!go) {
                std::this_thread::yield();
            }
            DirectoryStorage storage;
            results[i] = storage.Open(path, true, &errors[i]);
        };
        std::thread first(open, 0);
        std::thread second(open, 1);
        go = true;
        first.join();
        second.join();
        for (int i = 0; i < 2; ++i) {
            EXPECT_TRUE(results[i] == StorageOpenResult::Created ||
                        results[i] == StorageOpenResult::Opened)
                << errors[i].toStdString();
        }
        EXPECT_TRUE(results[0] == StorageOpenResult::Created ||
                    results[1] == StorageOpenResult::Created);
        DirectoryStorage after;
        ASSERT_EQ(after.Open(path, false, nullptr), StorageOpenResult::Opened);
        EXPECT_EQ(after.SchemaVersion(), DirectoryStorage::kCurrentSchema);
    }
    // Nothing of the making is left beside the file.
    EXPECT_EQ(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files),
              QStringList{QFileInfo(path).fileName()});
}

// Two studio computers saving at the same moment: the second waits for the first, and
// neither caller sees an error.
TEST_F(StorageTest, TwoConnectionsWritingAtOnceBothSucceed) {
    KVDirectory directory;
    bool failed = true;
    directory.OpenDefault(true, failed);
    ASSERT_FALSE(failed);
    QString refusal;
    auto user =
        directory.CreateFirstUser(QStringLiteral("Admin"), QStringLiteral("admin"), {}, &refusal);
    ASSERT_TRUE(user);
    const qint32 reference = user->Reference();
    constexpr int kWrites = 150;

    std::atomic<int> otherFailures{0};
    std::thread other([&] {
        DirectoryStorage storage;
        if (storage.Open(KVDirectory::DefaultFilePath(), false, nullptr) !=
            StorageOpenResult::Opened) {
            otherFailures = kWrites;
            return;
        }
        auto shared = std::shared_ptr<DirectoryStorage>(&storage, [](DirectoryStorage*) {});
        UserSettings settings(shared, reference);
        for (int i = 0; i < kWrites; ++i) {
            if (!settings.SaveSetting(QStringLiteral("Other.%1").arg(i), i, 0)) {
                ++otherFailures;
            }
        }
    });
    int failures = 0;
    for (int i = 0; i < kWrites; ++i) {
        if (!user->Settings().SaveSetting(QStringLiteral("Mine.%1").arg(i), i, 0)) {
            ++failures;
        }
    }
    other.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(otherFailures.load(), 0);
    EXPECT_EQ(user->Settings().GetSetting(QStringLiteral("Other.%1").arg(kWrites - 1), {}).toInt(),
              kWrites - 1);
    EXPECT_EQ(user->Settings().GetSetting(QStringLiteral("mine.0"), {}).toString(),
              QStringLiteral("0"));
}

// Lists read their rows straight from SQLite on statements kept for the connection: each must
// bind and read values as the Qt driver does, let go of the file once read (another computer
// writes at once), follow another computer's schema change, and stay right when the same list
// is asked for while it is being read.
TEST_F(StorageTest, RowsReadOnKeptStatementsMatchTheDriverAndLetGoOfTheFile) {
    {
        KVDirectory directory;
        bool failed = true;
        directory.OpenDefault(true, failed);
        ASSERT_FALSE(failed);
    }
    DirectoryStorage reader;
    ASSERT_EQ(reader.Open(KVDirectory::DefaultFilePath(), false, nullptr),
              StorageOpenResult::Opened);
    const QString otherName = QUuid::createUuid().toString();
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), otherName);
        other.setDatabaseName(KVDirectory::DefaultFilePath());
        other.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0")); // never waits
        ASSERT_TRUE(other.open());
        auto exec = [&other](const QString& sql) {
            QSqlQuery q(other);
            const bool ran = q.exec(sql);
            EXPECT_TRUE(ran) << sql.toStdString() << ": " << q.lastError().text().toStdString();
        };
        exec(QStringLiteral("CREATE TABLE t (x INTEGER, y TEXT)"));
        exec(QStringLiteral("INSERT INTO t VALUES (1, 'one'), (2, NULL), (3, ''), (4, 'Zoë 📻')"));

        const QString sql =
            QStringLiteral("SELECT x, y FROM t WHERE ? IS NULL OR x >= ? ORDER BY x");
        auto text = [](const SqliteStatement& row) {
            const QString y = row.Text(1);
            return QString::number(row.Int64(0)) + QLatin1Char(':') +
                   (y.isNull()    ? QStringLiteral("null")
                    : y.isEmpty() ? QStringLiteral("empty")
                                  : y);
        };
        auto read = [&](const QList<QVariant>& values) {
            QStringList rows;
            EXPECT_TRUE(reader.ReadRows(sql, values, "reading",
                                        [&](const SqliteStatement& row) { rows << text(row); }));
            return rows;
        };
        const QStringList all = {QStringLiteral("1:one"), QStringLiteral("2:null"),
                                 QStringLiteral("3:empty"), QStringLiteral("4:Zoë 📻")};
        // A null text binds NULL; an empty one is a text.
        EXPECT_EQ(read({QString(), 0}), all);
        EXPECT_EQ(read({QStringLiteral(""), 3}), all.mid(2));
        EXPECT_EQ(read({QStringLiteral(""), QStringLiteral("4")}), all.mid(3));

        exec(QStringLiteral("INSERT INTO t VALUES (5, 'five')"));

        exec(QStringLiteral("DROP TABLE t"));
        exec(QStringLiteral("CREATE TABLE t (z TEXT, x INTEGER, y TEXT)"));
        exec(QStringLiteral("INSERT INTO t VALUES ('z', 9, 'nine'), ('z', 10, 'ten')"));
        EXPECT_EQ(read({QString(), 0}),
                  (QStringList{QStringLiteral("9:nine"), QStringLiteral("10:ten")}));

        QStringList outer;
        QStringList inner;
        EXPECT_TRUE(
            reader.ReadRows(sql, {QString(), 0}, "reading", [&](const SqliteStatement& row) {
                outer << text(row);
                EXPECT_TRUE(
                    reader.ReadRows(sql, {QStringLiteral(""), 10}, "reading again",
                                    [&](const SqliteStatement& again) { inner << text(again); }));
            }));
        EXPECT_EQ(outer, (QStringList{QStringLiteral("9:nine"), QStringLiteral("10:ten")}));
        EXPECT_EQ(inner, (QStringList{QStringLiteral("10:ten"), QStringLiteral("10:ten")}));
        EXPECT_EQ(read({QString(), 0}), outer);
        exec(QStringLiteral("DELETE FROM t"));
    }
    QSqlDatabase::removeDatabase(otherName);

    EXPECT_FALSE(reader.ReadRows(QStringLiteral("SELECT x FROM nowhere"), {}, "reading nothing",
                                 [](const SqliteStatement&) {}));
    EXPECT_TRUE(logged(QStringLiteral("Directory: reading nothing failed: no such table")));
}

TEST_F(StorageTest, ApplicationsAreRegisteredAndUnregistered) {
    KVDirectory directory;
    directory.SetClientOptions(33);
    directory.SetClientLevel(2);
    bool failed = true;
    directory.OpenDefault(true, failed);
    ASSERT_FALSE(failed);
    bool ok = false;
    directory.Applications().Register(32, nullptr, ok);
    EXPECT_TRUE(ok);
    directory.Applications().Register(32, nullptr, ok);
    EXPECT_EQ(directory.Applications().Count(32), 1);
    directory.Applications().Unregister(32, nullptr, ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(directory.Applications().Count(32), 0);
}

TEST_F(StorageTest, SnapshotIsAReadableCopy) {
    KVDirectory directory;
    bool failed = true;
    directory.OpenDefault(true, failed);
    QString refusal;
    ASSERT_TRUE(
        directory.CreateFirstUser(QStringLiteral("Admin"), QStringLiteral("admin"), {}, &refusal));
    const QString copy = TestHome() + QStringLiteral("/support/Directory.sqlite");
    QDir().mkpath(TestHome() + QStringLiteral("/support"));
    ASSERT_TRUE(directory.SnapshotTo(copy, &refusal)) << refusal.toStdString();
    KVDirectory reader;
    reader.Open(copy, false, failed);
    ASSERT_FALSE(failed);
    EXPECT_EQ(reader.UserCount(), 1);
}
} // namespace
