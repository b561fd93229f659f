#include "mainwindowfixture.h"
#include "support/scriptedwindow.h"

#include "platform/messagesdb/messagesstorage.h"
#include "platform/messagesdb/orlixdatabase.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <functional>

namespace {
// A messages database made in the folder, then spoilt on disk as the case says.
void makeDatabase(const QString& folder, const std::function<void(const QString& file)>& spoil) {
    QDir().mkpath(folder);
    {
        OrlixDatabase database;
        database.SetChangeWatch(0, 0);
        ASSERT_EQ(database.OpenDatabase(folder, QString()), 0);
    }
    spoil(folder + QLatin1Char('/') + QLatin1String(MessagesStorage::kFileName));
}

void truncateToHalf(const QString& file) {
    QFile f(file);
    ASSERT_TRUE(f.resize(f.size() / 2));
}

void makeNewer(const QString& file) {
    {
        QSqlDatabase raw =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("newer"));
        raw.setDatabaseName(file);
        ASSERT_TRUE(raw.open());
        QSqlQuery q(raw);
        ASSERT_TRUE(q.exec(
            QStringLiteral("UPDATE orlix_meta SET value = '99' WHERE name = 'schema_version'")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("newer"));
}

QString problem(const QString& folder, const char* reason) {
    return QStringLiteral("The messages database in '") + folder +
           QStringLiteral("' could not be opened: ") + QLatin1String(reason);
}
} // namespace

using MainWindowDatabase = MainWindowFixture;

// The start-up loads the settings twice (before and after the login): one failure, one box.
TEST_F(MainWindowDatabase, ADamagedDatabaseAtStartUpIsToldOnceAndTheWindowGoesOnWithout) {
    makeDatabase(folder("db"), truncateToHalf);
    ASSERT_TRUE(startLoggedIn(QStringLiteral("/DEBUG=NORMAL")));
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
    EXPECT_EQ(TestMessageBoxes().shown().front().text,
              problem(folder("db"), "its file is damaged or is not a messages database."));
    EXPECT_EQ(TestMessageBoxes().shown().front().icon, MsgIcon::Exclamation);
    EXPECT_TRUE(window->FormReady());
    EXPECT_EQ(window->Database(), nullptr);
    EXPECT_TRUE(logTexts().contains(QStringLiteral("The messages database in '") + folder("db") +
                                    QStringLiteral("' could not be opened (code 4)")));
}

// Each folder that fails is told once, with its reason; a folder that opens ends it, and the
// same failure after it is told again.
TEST_F(MainWindowDatabase, EachFailedDatabaseFolderIsToldWithItsReason) {
    struct Case {
        const char* name;
        const char* folder; // empty: a folder with no database yet, which opens
        std::function<void(const QString&)> spoil;
        const char* reason; // null: it opens
    };
    const Case cases[] = {
        {"truncated", "damaged", truncateToHalf,
         "its file is damaged or is not a messages database."},
        {"newer version", "newer", makeNewer, "it was made by a newer version of the program."},
        {"a new database", "fresh", nullptr, nullptr},
        {"truncated again", "damaged", nullptr,
         "its file is damaged or is not a messages database."},
    };
    ASSERT_TRUE(startLoggedIn());
    ASSERT_NE(window->Database(), nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.spoil) {
            makeDatabase(folder(c.folder), c.spoil);
        }
        QDir().mkpath(folder(c.folder));
        TestMessageBoxes().clear();
        Program::Instance().Windows().Register(WindowKind::Settings, ScriptedWindowMaker([&] {
                                                   window->clsSettingsObject->SetOrlixPath(
                                                       folder(c.folder));
                                                   QString profile;
                                                   window->clsSettingsObject->SaveSettings(profile);
                                               }));
        window->mnuProgramSettings->trigger();
        EXPECT_TRUE(window->FormReady());
        if (c.reason == nullptr) {
            EXPECT_TRUE(TestMessageBoxes().shown().empty());
            ASSERT_NE(window->Database(), nullptr);
            EXPECT_EQ(window->Database()->DatabasePath(), folder(c.folder));
            continue;
        }
        ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
        EXPECT_EQ(TestMessageBoxes().shown().front().text, problem(folder(c.folder), c.reason));
        EXPECT_EQ(window->Database(), nullptr);

        // Loaded again with nothing changed: it fails again, and says nothing more.
        window->mnuProgramSettings->trigger();
        EXPECT_EQ(TestMessageBoxes().shown().size(), 1u);
        EXPECT_EQ(window->Database(), nullptr);
    }
}
