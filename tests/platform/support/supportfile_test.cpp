#include "../directory/directoryfixture.h"
#include "platform/messagesdb/messagemime.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixmessage.h"
#include "platform/support/supportfilegenerator.h"
#include "platform/system/folders.h"
#include "platform/system/registrystore.h"
#include "platform/system/sqlitebackup.h"
#include "support/readonlyfolder.h"
#include "support/testhome.h"
#include "support/waitfor.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

#include <archive.h>
#include <archive_entry.h>

#include <atomic>
#include <memory>
#include <thread>

namespace {

// Every entry of a ZIP, read back with the same library a support desk would use.
QMap<QString, QByteArray> readArchive(const QString& path) {
    QMap<QString, QByteArray> entries;
    std::unique_ptr<archive, decltype(&archive_read_free)> a(archive_read_new(),
                                                             &archive_read_free);
    archive_read_support_format_zip(a.get());
    if (archive_read_open_filename(a.get(), QFile::encodeName(path).constData(), 65536) !=
        ARCHIVE_OK) {
        ADD_FAILURE() << "cannot open " << path.toStdString();
        return entries;
    }
    archive_entry* entry = nullptr;
    while (archive_read_next_header(a.get(), &entry) == ARCHIVE_OK) {
        QByteArray data;
        char buffer[65536];
        la_ssize_t n = 0;
        while ((n = archive_read_data(a.get(), buffer, sizeof buffer)) > 0) {
            data.append(buffer, n);
        }
        EXPECT_EQ(n, 0) << archive_error_string(a.get());
        entries.insert(QString::fromUtf8(archive_entry_pathname_utf8(entry)), data);
    }
    return entries;
}

// A connection of the test's own to a file; the caller runs queries through db().
class Connection {
public:
    explicit Connection(const QString& file) : name_(QUuid::createUuid().toString()) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(file);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        EXPECT_TRUE(db.open());
    }
    ~Connection() {
        QSqlDatabase::database(name_, false).close();
        QSqlDatabase::removeDatabase(name_);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(name_, false); }
    QVariant value(const QString& sql) const {
        QSqlQuery q(db());
        EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
        return q.next() ? q.value(0) : QVariant();
    }

private:
    QString name_;
};

const SupportDetails kAnn{QStringLiteral("Ann Presenter"), QStringLiteral("Radio Kestova"),
                          QStringLiteral("ann@station.example"), QStringLiteral("0123 456")};

class SupportFileTest : public DirectoryFixture {
protected:
    void SetUp() override {
        DirectoryFixture::SetUp();
        messagesFolder = TestHome() + QStringLiteral("/Messages");
        QDir().mkpath(messagesFolder);
        messages = std::make_unique<OrlixDatabase>();
        messages->SetChangeWatch(0, 0);
        ASSERT_EQ(messages->OpenDatabase(messagesFolder, QString()), 0);
        generator.SetDetails(kAnn);
        generator.SetReason(QStringLiteral("The Inbox stays empty."));
    }
    void TearDown() override {
        generator.Finish();
        messages.reset();
        DirectoryFixture::TearDown();
    }

    void storeMessage(const QString& subject) {
        OrlixMessage m;
        m.SetMessageBytes(BuildTextMessage(QStringLiteral("Bob <bob@example.org>"),
                                           QStringLiteral("studio@station.example"), subject,
                                           QStringLiteral("Hello"), QDateTime()));
        m.SetKind(OrlixMessage::KindEmail);
        m.SetFolder(OrlixDatabase::kInboxFolder);
        m.SetReceivedDate(QDateTime::currentDateTimeUtc());
        bool ok = false;
        messages->StoreMessage(m, ok);
        ASSERT_TRUE(ok);
    }

    QString writeFile(const QString& relative, const QByteArray& bytes) {
        const QString path = TestHome() + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    // Writes an entry of the archive out to a file, to open it with SQLite.
    QString extract(const QMap<QString, QByteArray>& entries, const QString& name) {
        return writeFile(QStringLiteral("extracted/") + name, entries.value(name));
    }

    QString messagesFolder;
    std::unique_ptr<OrlixDatabase> messages;
    SupportFileGenerator generator;
};

TEST_F(SupportFileTest, ArchiveHoldsSummarySettingsFilesAndBothCopies) {
    storeMessage(QStringLiteral("First"));
    storeMessage(QStringLiteral("Second"));
    addUser(QStringLiteral("ann"), 0, 0, QStringLiteral("s3cret-Pass"));
    ASSERT_TRUE(RegistryStore::WriteString(RegistryRoot::CurrentUser,
                                           QStringLiteral("SOFTWARE\\Kestova\\Orlix\\Profile"),
                                           QStringLiteral("DataFolder"), QStringLiteral("/srv/d")));
    ASSERT_TRUE(RegistryStore::WriteNumber(RegistryRoot::CurrentUser,
                                           QStringLiteral("SOFTWARE\\Kestova\\Orlix\\Profile\\Sub"),
                                           QStringLiteral("Fonts"), 7));
    generator.AddRegistryKey(RegistryRoot::CurrentUser, QStringLiteral("SOFTWARE\\Kestova\\Orlix"));
    generator.AddFile(writeFile(QStringLiteral("logs/a/orlix.log"), "first log"));
    generator.AddFile(writeFile(QStringLiteral("logs/b/orlix.log"), "second log"));
    generator.AddFile(TestHome() + QStringLiteral("/nowhere.log"));
    generator.AddMessagesDatabase(messages.get());
    generator.AddDirectory(directory.get());
    generator.SetSubject(QStringLiteral("[KVX123]"));

    std::vector<int> progress;
    QObject::connect(&generator, &SupportFileGenerator::Progress,
                     [&](int p) { progress.push_back(p); });
    ASSERT_EQ(generator.Make(), SupportFileGenerator::Made) << generator.LastError().toStdString();
    const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther |
                        QFileDevice::WriteOther;
    EXPECT_EQ(QFile::permissions(generator.ArchivePath()) & others, 0)
        << "only its owner reads the station's data";
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 100);

    const auto entries = readArchive(generator.ArchivePath());
    EXPECT_EQ(entries.value(QStringLiteral("orlix.log")), "first log");
    EXPECT_EQ(entries.value(QStringLiteral("orlix (2).log")), "second log")
        << "a clash of base names keeps both files";

    const QString summary = QString::fromUtf8(entries.value(QStringLiteral("SupportFile.txt")));
    for (const QString& part :
         {QStringLiteral("The Inbox stays empty."), QStringLiteral("Ann Presenter"),
          QStringLiteral("ann@station.example"), QStringLiteral("Radio Kestova"),
          QStringLiteral("[KVX123]"), QStringLiteral("messages.sqlite: "),
          QStringLiteral("nowhere.log (does not exist)")}) {
        EXPECT_TRUE(summary.contains(part)) << part.toStdString() << "\n" << summary.toStdString();
    }
    const QString settings = QString::fromUtf8(entries.value(QStringLiteral("Settings.txt")));
    EXPECT_TRUE(settings.contains(QStringLiteral("DataFolder (text) = /srv/d")))
        << settings.toStdString();
    EXPECT_TRUE(settings.contains(QStringLiteral("Fonts (number) = 7"))) << settings.toStdString();

    {
        Connection copy(extract(entries, SupportFileGenerator::MessagesCopyName()));
        EXPECT_EQ(copy.value(QStringLiteral("PRAGMA integrity_check")).toString(), "ok");
        EXPECT_EQ(copy.value(QStringLiteral("SELECT count(*) FROM messages")).toInt(), 2);
    }
    {
        Connection copy(extract(entries, SupportFileGenerator::DirectoryCopyName()));
        EXPECT_EQ(copy.value(QStringLiteral("PRAGMA integrity_check")).toString(), "ok");
        EXPECT_EQ(copy.value(QStringLiteral("SELECT count(*) FROM contacts WHERE login_name='ann'"))
                      .toInt(),
                  1)
            << "the users are all there";
        EXPECT_EQ(copy.value(QStringLiteral("SELECT count(*) FROM contacts WHERE "
                                            "password_hash<>'' OR password_salt<>''"))
                      .toInt(),
                  0);
    }
    const QString dirCopy = TestHome() + QStringLiteral("/extracted/Directory.sqlite");
    QFile raw(dirCopy);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    Connection live(directory->FilePath());
    const QByteArray hash =
        live.value(QStringLiteral("SELECT password_hash FROM contacts WHERE login_name='ann'"))
            .toString()
            .toUtf8();
    ASSERT_FALSE(hash.isEmpty()) << "the live file keeps its hashes";
    EXPECT_FALSE(bytes.contains(hash)) << "no old page of the copy still holds the hash";

    const QString scratch = QFileInfo(generator.ArchivePath()).absolutePath();
    generator.Finish();
    EXPECT_FALSE(QFileInfo::exists(scratch));
}

TEST_F(SupportFileTest, NothingOfADatabaseThatIsNotOpen) {
    bool closed = false;
    messages->CloseDatabase(closed);
    directory.reset();
    generator.AddMessagesDatabase(messages.get());
    generator.AddDirectory(nullptr);
    ASSERT_EQ(generator.Make(), SupportFileGenerator::Made);
    const auto entries = readArchive(generator.ArchivePath());
    EXPECT_EQ(entries.keys(),
              (QList<QString>{QStringLiteral("Settings.txt"), QStringLiteral("SupportFile.txt")}));
}

TEST_F(SupportFileTest, DetailsMissingMakeNothing) {
    struct Case {
        QString name;
        QString email;
    } cases[] = {
        {QStringLiteral(" "), QStringLiteral("ann@station.example")},
        {QStringLiteral("Ann"), QString()},
        {QStringLiteral("Ann"), QStringLiteral("ann.station.example")},
        {QStringLiteral("Ann"), QStringLiteral("@station.example")},
        {QStringLiteral("Ann"), QStringLiteral("ann@")},
    };
    for (const Case& c : cases) {
        SupportDetails details = kAnn;
        details.Name = c.name;
        details.EmailAddress = c.email;
        EXPECT_FALSE(SupportDetailsComplete(details)) << c.email.toStdString();
        generator.SetDetails(details);
        EXPECT_EQ(generator.Make(), SupportFileGenerator::DetailsMissing);
        EXPECT_TRUE(generator.ArchivePath().isEmpty());
    }
}

TEST_F(SupportFileTest, AnArchiveThatCannotBeWrittenIsAClearError) {
    ReadOnlyFolder readOnly(Folders::PrivateTemp());
    ASSERT_TRUE(readOnly.Problem().isEmpty()) << readOnly.Problem().toStdString();
    QString told;
    QObject::connect(&generator, &SupportFileGenerator::CreateError,
                     [&](const QString& text) { told = text; });
    EXPECT_EQ(generator.Make(), SupportFileGenerator::Failed);
    EXPECT_FALSE(told.isEmpty());
    EXPECT_EQ(told, generator.LastError());
}

TEST_F(SupportFileTest, ACorruptDirectoryCopyIsNotBlankedButRefused) {
    const QString garbage = writeFile(QStringLiteral("garbage.sqlite"), QByteArray(4096, 'x'));
    QString why;
    EXPECT_FALSE(BlankDirectoryPasswords(garbage, &why));
    EXPECT_TRUE(why.contains(QStringLiteral("could not be blanked")) ||
                why.contains(QStringLiteral("not a database")))
        << why.toStdString();
    EXPECT_FALSE(BlankDirectoryPasswords(TestHome() + QStringLiteral("/none.sqlite"), &why));
    EXPECT_TRUE(why.contains(QStringLiteral("does not exist"))) << why.toStdString();
}

// Another computer's connection committing batches of ten rows into "probe" until stopped,
// pausing between batches; a batch lands whole or not at all.
class BatchWriter {
public:
    BatchWriter(const QString& file, std::chrono::milliseconds pause)
        : thread_([this, file, pause] {
              Connection other(file);
              QSqlQuery q(other.db());
              while (!stop_) {
                  if (other.db().transaction()) {
                      bool whole = true;
                      for (int i = 0; i < 10 && whole; ++i) {
                          whole = q.exec(QStringLiteral("INSERT INTO probe VALUES (1)"));
                      }
                      if (whole && other.db().commit()) {
                          ++batches_;
                      } else {
                          other.db().rollback();
                      }
                  }
                  std::this_thread::sleep_for(pause);
              }
          }) {}
    ~BatchWriter() { Stop(); }
    BatchWriter(const BatchWriter&) = delete;
    BatchWriter& operator=(const BatchWriter&) = delete;

    void Stop() {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    int Batches() const { return batches_; }

private:
    std::atomic<bool> stop_{false};
    std::atomic<int> batches_{0};
    std::thread thread_;
};

// Another computer keeps committing batches of ten rows while the copy is taken: the copy is
// whole and holds only whole batches.
TEST_F(SupportFileTest, CopyTakenWhileAnotherConnectionWrites) {
    {
        Connection setup(messages->DatabaseFile());
        QSqlQuery q(setup.db());
        ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE probe (n INTEGER)")));
    }
    for (int i = 0; i < 50; ++i) {
        storeMessage(QStringLiteral("Filler %1").arg(i));
    }
    BatchWriter writer(messages->DatabaseFile(), std::chrono::milliseconds(2));
    while (writer.Batches() < 3) {
        std::this_thread::yield();
    }
    generator.AddMessagesDatabase(messages.get());
    const int made = generator.Make();
    writer.Stop();
    ASSERT_EQ(made, SupportFileGenerator::Made) << generator.LastError().toStdString();
    const auto entries = readArchive(generator.ArchivePath());
    ASSERT_TRUE(entries.contains(SupportFileGenerator::MessagesCopyName()))
        << entries.value(QStringLiteral("SupportFile.txt")).toStdString();
    Connection copy(extract(entries, SupportFileGenerator::MessagesCopyName()));
    EXPECT_EQ(copy.value(QStringLiteral("PRAGMA integrity_check")).toString(), "ok");
    const int rows = copy.value(QStringLiteral("SELECT count(*) FROM probe")).toInt();
    EXPECT_GE(rows, 30);
    EXPECT_EQ(rows % 10, 0);
}

// A studio computer commits ten rows every 100 ms while the copy is taken a few pages a step.
// The first step waits for one of its commits, so SQLite must start again at least once; the
// copy still ends whole, with whole batches only. A Stop leaves no file behind.
class BackupWhileWritingTest : public ::testing::Test {
protected:
    void SetUp() override {
        file = TestHome() + QStringLiteral("/live.sqlite");
        QFile::remove(file);
        source = std::make_unique<Connection>(file);
        QSqlQuery q(source->db());
        ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE probe (n INTEGER)")));
        ASSERT_TRUE(q.exec(QStringLiteral("CREATE TABLE filler (b BLOB)")));
        // About a megabyte, so the copy takes many steps of a few pages.
        ASSERT_TRUE(source->db().transaction());
        for (int i = 0; i < 256; ++i) {
            ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO filler VALUES (randomblob(4000))")));
        }
        ASSERT_TRUE(source->db().commit());
    }
    void TearDown() override {
        writer.reset();
        source.reset();
    }
    void startWriter() {
        writer = std::make_unique<BatchWriter>(file, std::chrono::milliseconds(100));
    }
    int batches() const { return writer ? writer->Batches() : 0; }

    QString file;
    std::unique_ptr<Connection> source;
    std::unique_ptr<BatchWriter> writer;
};

TEST_F(BackupWhileWritingTest, CopyFinishesWholeWithWholeBatches) {
    startWriter();
    ASSERT_TRUE(WaitFor([&] { return batches() >= 1; }, 5000));
    const QString copyFile = TestHome() + QStringLiteral("/copy.sqlite");
    SqliteBackup backup(source->db(), copyFile);
    backup.SetFirstStepPages(8);
    int steps = 0;
    bool waited = false;
    backup.SetProgress([&](qint64 copied, qint64 total) {
        EXPECT_LE(copied, total);
        ++steps;
        if (!waited) {
            waited = true;
            const int seen = batches();
            EXPECT_TRUE(WaitFor([&] { return batches() > seen; }, 5000));
        }
        return true;
    });
    QString why;
    ASSERT_TRUE(backup.Run(&why)) << why.toStdString();
    EXPECT_GE(backup.Restarts(), 1) << "a commit during the copy makes SQLite start again";
    EXPECT_GT(steps, 2);
    writer->Stop();

    Connection copy(copyFile);
    EXPECT_EQ(copy.value(QStringLiteral("PRAGMA integrity_check")).toString(), "ok");
    const int rows = copy.value(QStringLiteral("SELECT count(*) FROM probe")).toInt();
    EXPECT_GE(rows, 20);
    EXPECT_EQ(rows % 10, 0);
    EXPECT_EQ(copy.value(QStringLiteral("SELECT count(*) FROM filler")).toInt(), 256);
}

TEST_F(BackupWhileWritingTest, StoppedOrRefusedLeavesNoFile) {
    const QString copyFile = TestHome() + QStringLiteral("/copy.sqlite");
    SqliteBackup backup(source->db(), copyFile);
    backup.SetFirstStepPages(8);
    int steps = 0;
    backup.SetProgress([&](qint64, qint64) { return ++steps < 3; });
    QString why;
    EXPECT_FALSE(backup.Run(&why));
    EXPECT_TRUE(backup.Stopped());
    EXPECT_FALSE(QFileInfo::exists(copyFile));

    QFile existing(copyFile);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("keep me");
    existing.close();
    SqliteBackup onto(source->db(), copyFile);
    EXPECT_FALSE(onto.Run(&why));
    EXPECT_TRUE(why.contains(QStringLiteral("exists already"))) << why.toStdString();
    QFile kept(copyFile);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "keep me") << "an existing file is never replaced";

    source.reset();
    QSqlDatabase closed;
    SqliteBackup fromNothing(closed, TestHome() + QStringLiteral("/other.sqlite"));
    EXPECT_FALSE(fromNothing.Run(&why));
}

} // namespace
