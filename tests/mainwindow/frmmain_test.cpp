#include "mainwindowfixture.h"

#include "core/generalroutines.h"
#include "core/printing/frmprintpreview.h"
#include "core/profile/newerstorenotice.h"
#include "mainwindow/scripttreeimages.h"
#include "platform/directory/systemuser.h"
#include "platform/messagesdb/controls/uprizebasic.h"
#include "platform/messagesdb/orlixdatabase.h"
#include "platform/messagesdb/orlixprize.h"
#include "platform/system/appservices.h"
#include "platform/system/registrystore.h"
#include "platform/system/singleinstance.h"
#include "platform/ui/forms.h"
#include "platform/ui/upanel3.h"
#include "support/readonlyfolder.h"
#include "support/scripteddialogs.h"
#include "support/scriptedwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QLockFile>
#include <QMenu>
#include <QMenuBar>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTreeWidget>

#include <cerrno>
#include <cstring>
#include <optional>

namespace {
// A window with unsaved changes whose user cancels the save question.
class StubbornWindow : public QWidget {
protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

// The program settings dialog, doing what the user would in it.
void settingsDialog(std::function<void()> action) {
    Program::Instance().Windows().Register(WindowKind::Settings,
                                           ScriptedWindowMaker(std::move(action)));
}

bool placementSaved() {
    return RegistryStore::KeyExists(RegistryRoot::CurrentUser,
                                    frmMain::ClientKey() + QStringLiteral("\\frmMain"));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

using MainWindowStartUp = MainWindowFixture;

TEST_F(MainWindowStartUp, ACompleteStartLogsInByTheCommandLineAndBuildsTheMenuBar) {
    ASSERT_TRUE(startLoggedIn(QStringLiteral("/DEBUG=NORMAL")));
    EXPECT_TRUE(window->FormReady());
    EXPECT_EQ(loginDialogs, 0);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Kestova Orlix v1 - Admin logged in"));
    EXPECT_EQ(Splash(), nullptr);
    EXPECT_EQ(window->playoutPanel->NumberPlayers(), 4);
    ASSERT_EQ(window->playoutPanel->cmdInstantCart.size(), 21);
    EXPECT_EQ(window->playoutPanel->cmdInstantCart[20]->text(), QStringLiteral("20"));
    EXPECT_FALSE(window->playoutPanel->cmdInstantCart[1]->isEnabled());
    EXPECT_TRUE(QFileInfo(Program::Instance().DataFolder() + QStringLiteral("/Temp")).isDir());
    ASSERT_NE(window->Database(), nullptr);
    EXPECT_EQ(window->Database()->DatabasePath(), folder("db"));

    QStringList bar;
    for (QAction* a : window->menuBar()->actions()) {
        bar << a->text();
    }
    EXPECT_EQ(bar, (QStringList{"&File", "&View", "&Settings", "&Help"}));
    QStringList file;
    for (QAction* a : window->mnuFile->actions()) {
        file << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    EXPECT_EQ(file, (QStringList{"Logged in as 'admin'", "&Logout", "-", "&Connect To Vorela",
                                 "&Disconnect from Vorela", "-", "Recent &Contacts",
                                 "Recent &Websites", "-", "E&xit"}));
    QStringList help;
    for (QAction* a : window->mnuHelp->actions()) {
        help << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    EXPECT_EQ(help, (QStringList{"&Contents", "&Search For Help On...", "-",
                                 "Create &Kestova Support File", "-", "&Update Information", "-",
                                 "Kestova On the Web", "-", "&About"}));
    EXPECT_EQ(window->mnuKestovaSupportWebsite->text(),
              QStringLiteral("Online Technical &Support "));
    EXPECT_TRUE(logTexts().contains(QStringLiteral("Check for help file")));

    window->mnuExit->trigger();
    EXPECT_TRUE(window->IsUnloaded());
    EXPECT_EQ(directory(), nullptr);
    EXPECT_TRUE(placementSaved());
}

// Each early end: no box of its own, the reason in the log, the shut-down run, nothing saved.
TEST_F(MainWindowStartUp, StartUpEndsEarlyAtEachOfItsThreePoints) {
    struct Case {
        const char* name;
        std::function<void(MainWindowFixture&)> arrange;
        QString commandLine;
        QString logLine;
        int status;
    };
    const Case cases[] = {
        {"no profile chosen", [](MainWindowFixture&) {},
         QStringLiteral("/DEBUG=NORMAL /NOPREVCHECK"),
         QStringLiteral("No Profile chosen so finished"), 1},
        {"profile unusable",
         [](MainWindowFixture& f) {
             f.seedProfile(false, true, false);
             f.addUser(QStringLiteral("admin"));
         },
         QStringLiteral("/DEBUG=NORMAL /NOPREVCHECK /Profile=Studio /User=admin"),
         QStringLiteral("The settings of the profile could not be used: the Orlix Database, "
                        "Scripts and Simple Talkback folders must all be set."),
         1},
        {"login cancelled",
         [](MainWindowFixture& f) {
             f.seedProfile();
             f.addUser(QStringLiteral("admin"));
         },
         QStringLiteral("/DEBUG=NORMAL /NOPREVCHECK /Profile=Studio"),
         QStringLiteral("Login cancelled: the program ends"), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMessageBoxes().clear();
        QFile::remove(DebugLogFilePath());
        c.arrange(*this);
        EXPECT_FALSE(start(c.commandLine));
        EXPECT_TRUE(window->IsUnloaded());
        EXPECT_EQ(window->ExitStatus(), c.status);
        EXPECT_TRUE(TestMessageBoxes().shown().empty());
        EXPECT_TRUE(logTexts().contains(c.logLine))
            << logTexts().join(QLatin1Char('\n')).toStdString();
        EXPECT_EQ(Splash(), nullptr);
        EXPECT_EQ(directory(), nullptr);
        EXPECT_FALSE(placementSaved());
        window.reset();
    }
}

// A directory file that cannot be opened is told on screen with its reason before the start
// ends, and the file is left as it was.
TEST_F(MainWindowStartUp, ADirectoryThatCannotBeOpenedIsToldWithItsReason) {
    const QString file = KVDirectory::DefaultFilePath();
    const QString folder = QFileInfo(file).absolutePath();
    const auto writeFile = [&](const QByteArray& bytes) {
        QDir().mkpath(folder);
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    };
    const auto rawExec = [&](const QString& statement) {
        {
            QSqlDatabase raw =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
            raw.setDatabaseName(file);
            ASSERT_TRUE(raw.open());
            QSqlQuery q(raw);
            ASSERT_TRUE(q.exec(statement)) << statement.toStdString();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("raw"));
    };
    // Another computer in the middle of a change that outlasts the wait.
    struct Holder {
        QSqlDatabase db;
        ~Holder() {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("holder"));
        }
    };
    struct Case {
        const char* name;
        std::function<void()> arrange;
        QString reason;
        // Kept while the program starts.
        std::function<std::shared_ptr<void>()> during = [] { return nullptr; };
    };
    const Case cases[] = {
        {"damaged", [&] { writeFile(QByteArray("not a directory at all\n").repeated(300)); },
         QStringLiteral("its file is damaged or is not a directory file.")},
        {"empty", [&] { writeFile(QByteArray()); },
         QStringLiteral("its file is damaged or is not a directory file.")},
        {"newer",
         [&] {
             addUser(QStringLiteral("admin"));
             rawExec(QStringLiteral("PRAGMA user_version = 999"));
         },
         QStringLiteral("it was made by a newer version of the program.")},
        {"locked", [&] { addUser(QStringLiteral("admin")); },
         QStringLiteral("another computer kept it locked for longer than the program waits."),
         [&]() -> std::shared_ptr<void> {
             auto holder = std::make_shared<Holder>();
             holder->db =
                 QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
             holder->db.setDatabaseName(file);
             EXPECT_TRUE(holder->db.open());
             QSqlQuery q(holder->db);
             EXPECT_TRUE(q.exec(QStringLiteral("BEGIN EXCLUSIVE")));
             return holder;
         }},
        {"read-only", [&] { addUser(QStringLiteral("admin")); },
         QStringLiteral("the folder or its directory file cannot be written."),
         [&]() -> std::shared_ptr<void> {
             auto locked = std::make_shared<ReadOnlyFolder>(folder);
             EXPECT_TRUE(locked->Problem().isEmpty()) << locked->Problem().toStdString();
             return locked;
         }},
    };
    seedProfile();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(file);
        c.arrange();
        QFile before(file);
        ASSERT_TRUE(before.open(QIODevice::ReadOnly));
        const QByteArray bytes = before.readAll();
        before.close();
        TestMessageBoxes().clear();
        {
            const std::shared_ptr<void> kept = c.during();
            EXPECT_FALSE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
        }
        EXPECT_EQ(window->ExitStatus(), 1);
        ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
        const MessageBoxRequest& box = TestMessageBoxes().shown().front();
        EXPECT_EQ(box.text, QStringLiteral("The contacts directory in '%1' could not be opened: "
                                           "%2\n\nThe program cannot start without it.")
                                .arg(folder, c.reason));
        EXPECT_EQ(box.icon, MsgIcon::Exclamation);
        EXPECT_EQ(Splash(), nullptr);
        QFile after(file);
        ASSERT_TRUE(after.open(QIODevice::ReadOnly));
        EXPECT_EQ(after.readAll(), bytes);
        window.reset();
        TerminateOrlix();
    }
}

// A settings file that cannot be read, or is damaged, is told once before anything is asked
// or the start ends; a second copy leaves the telling to the first. The file stays as it was:
// an unreadable one is never written over, a damaged one is kept beside its replacement.
TEST_F(MainWindowStartUp, ASettingsFileThatCannotBeReadOrIsDamagedIsToldBeforeAnythingIsAsked) {
    InstallNewerStoreNotice();
    const struct HandlersGone {
        ~HandlersGone() {
            RegistryStore::SetNewerVersionHandler(nullptr);
            RegistryStore::SetProblemHandler(nullptr);
            DropStoreNotices();
        }
    } handlersGone;
    const QString home = TestHome();
    const auto machine = [] { return RegistryStore::FilePath(RegistryRoot::LocalMachine); };
    const auto user = [] { return RegistryStore::FilePath(RegistryRoot::CurrentUser); };
    const auto asFolder = [](const QString& path) {
        QFile::remove(path);
        ASSERT_TRUE(QDir().mkpath(path));
    };
    const auto asLoop = [](const QString& path) {
        QFile::remove(path);
        QDir().mkpath(QFileInfo(path).absolutePath());
        ASSERT_TRUE(QFile::link(path, path));
    };
    const auto damage = [](const QString& path) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        writeFile(path, QByteArrayLiteral("{ not settings"));
    };
    const QString folderReason = QStringLiteral("it is a folder");
    const QString loopReason = QString::fromLocal8Bit(std::strerror(ELOOP));
    struct Case {
        const char* name;
        std::function<QString()> path;
        std::function<void(const QString&)> arrange;
        QString commandLine;
        // The box, "" for none.
        std::function<QString(const QString& path)> told;
        bool starts;
        int status;
        // Whether the chooser or the settings dialog asks anything.
        bool asks;
        bool firstCopyRuns = false;
    };
    const QString usual = QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin");
    const auto unreadable = [](QString reason, bool machine) {
        return [reason, machine](const QString& p) {
            return UnreadableStoreMessage(p, reason, machine);
        };
    };
    const auto damaged = [](const QString& p) { return DamagedStoreMessage(p); };
    const Case cases[] = {
        {"machine settings a folder", machine, asFolder, usual, unreadable(folderReason, true),
         false, 1, false},
        {"machine settings a looping link", machine, asLoop, usual, unreadable(loopReason, true),
         false, 1, false},
        {"user settings a folder", user, asFolder, usual, unreadable(folderReason, false), true, 0,
         false},
        {"user settings a looping link", user, asLoop, usual, unreadable(loopReason, false), true,
         0, false},
        {"machine settings damaged", machine, damage, usual, damaged, false, 1, true},
        {"machine settings damaged, chooser cancelled", machine, damage,
         QStringLiteral("/NOPREVCHECK"), damaged, false, 1, true},
        {"user settings damaged", user, damage, usual, damaged, true, 0, false},
        {"machine settings damaged, a second copy", machine, damage,
         QStringLiteral("/Profile=Studio /User=admin"), [](const QString&) { return QString(); },
         false, 1, false, true},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Each case on a computer of its own: a file is told once per run.
        const QString caseHome = home + QStringLiteral("/case") + QString::number(++n);
        QDir().mkpath(caseHome);
        qputenv("ORLIX_HOME", QFile::encodeName(caseHome));
        AppServices::Instance().Reset();
        seedProfile();
        addUser(QStringLiteral("admin"));
        const QString path = c.path();
        c.arrange(path);
        const QFileInfo before(path);
        QFile kept(path);
        const QByteArray bytes = kept.open(QIODevice::ReadOnly) ? kept.readAll() : QByteArray();
        kept.close();

        std::unique_ptr<QLockFile> firstCopy;
        if (c.firstCopyRuns) {
            QDir().mkpath(QFileInfo(SingleInstance::DefaultLockPath()).absolutePath());
            firstCopy = std::make_unique<QLockFile>(SingleInstance::DefaultLockPath());
            ASSERT_TRUE(firstCopy->tryLock(0));
        }
        TestMessageBoxes().clear();
        // What had been told when the start first asked something.
        std::optional<size_t> toldBeforeAsking;
        const auto asking = [&] {
            if (!toldBeforeAsking) {
                toldBeforeAsking = TestMessageBoxes().shown().size();
            }
        };
        chooserShown = asking;
        settingsDialog(asking);
        EXPECT_EQ(start(c.commandLine), c.starts);
        // Whatever event loop runs later tells nothing more.
        QCoreApplication::sendPostedEvents();
        if (c.starts) {
            window->mnuExit->trigger();
        }
        EXPECT_EQ(toldBeforeAsking.has_value(), c.asks);
        EXPECT_EQ(window->ExitStatus(), c.status);
        const QString told = c.told(path);
        if (told.isEmpty()) {
            EXPECT_TRUE(TestMessageBoxes().shown().empty());
        } else {
            ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
            const MessageBoxRequest& box = TestMessageBoxes().shown().front();
            EXPECT_EQ(box.text, told);
            EXPECT_EQ(box.icon, MsgIcon::Exclamation);
            EXPECT_EQ(box.buttons, MsgButtons::OK);
            if (toldBeforeAsking) {
                EXPECT_EQ(*toldBeforeAsking, 1u);
            }
        }
        const QFileInfo after(path);
        EXPECT_EQ(after.isDir(), before.isDir());
        EXPECT_EQ(after.isSymLink(), before.isSymLink());
        if (!bytes.isEmpty()) {
            // In its place, or kept beside the file that replaced it.
            QStringList holding;
            const QDir beside = after.absoluteDir();
            for (const QString& name : beside.entryList({after.fileName() + QLatin1Char('*')},
                                                        QDir::Files | QDir::Hidden)) {
                QFile f(beside.filePath(name));
                if (f.open(QIODevice::ReadOnly) && f.readAll() == bytes) {
                    holding << name;
                }
            }
            EXPECT_EQ(holding.size(), 1) << holding.join(QLatin1Char(' ')).toStdString();
        }
        window.reset();
        UnloadSplash();
        TerminateOrlix();
        firstCopy.reset();
    }
    chooserShown = nullptr;
    qputenv("ORLIX_HOME", QFile::encodeName(home));
    AppServices::Instance().Reset();
}

TEST_F(MainWindowStartUp, AnUnknownOrPasswordedUserFallsBackToTheLoginDialog) {
    seedProfile();
    addUser(QStringLiteral("admin"));
    addUser(QStringLiteral("pres"), 0, 0, QStringLiteral("secret"));
    loginAnswer = QStringLiteral("pres");
    passwordAnswer = QStringLiteral("secret");
    for (const char* who : {"nobody", "pres"}) {
        SCOPED_TRACE(who);
        loginDialogs = 0;
        ASSERT_TRUE(
            start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=") + QLatin1String(who)));
        EXPECT_EQ(loginDialogs, 1);
        EXPECT_EQ(directory()->CurrentUser()->LoginName(), QStringLiteral("pres"));
        // The user named, with the password to type; a name nobody has offers the computer's
        // account as any login does.
        const bool named = QLatin1String(who) == QLatin1String("pres");
        EXPECT_EQ(loginOffered, named ? QStringLiteral("pres") : SystemUserName());
        if (named) {
            EXPECT_EQ(loginFocus, QStringLiteral("txtPassword"));
        }
        window.reset();
    }
}

TEST_F(MainWindowStartUp, ATempFolderThatCannotBeMadeIsReportedAndStartUpGoesOn) {
    QDir().mkpath(TestHome() + QStringLiteral("/Kestova/Orlix"));
    writeFile(TestHome() + QStringLiteral("/Kestova/Orlix/Temp"), "not a folder");
    ASSERT_TRUE(startLoggedIn());
    ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
    const auto& box = TestMessageBoxes().shown().front();
    EXPECT_EQ(box.icon, MsgIcon::Exclamation);
    EXPECT_TRUE(box.text.startsWith(QStringLiteral("There was a problem creating a temporary "
                                                   "folder in '") +
                                    TestHome() +
                                    QStringLiteral("/Kestova/Orlix/Temp' and the "
                                                   "error's description was "
                                                   "reported as : \n\n\"")))
        << box.text.toStdString();
    EXPECT_TRUE(window->FormReady());
}

TEST_F(MainWindowStartUp, AWindowThatRefusesToCloseKeepsTheMainWindowAndReleasesNothing) {
    ASSERT_TRUE(startLoggedIn());
    auto* stubborn = new StubbornWindow;
    Forms::Add(stubborn);
    window->show();
    window->tmrAutoLogin.start();

    EXPECT_FALSE(window->close());
    EXPECT_FALSE(window->IsUnloaded());
    EXPECT_FALSE(window->tmrAutoLogin.isActive());
    ASSERT_NE(directory(), nullptr);
    EXPECT_TRUE(directory()->LoggedIn());
    ASSERT_NE(window->Database(), nullptr);
    EXPECT_TRUE(window->Database()->IsOpen());
    EXPECT_FALSE(placementSaved());

    delete stubborn;
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(window->IsUnloaded());
    EXPECT_TRUE(placementSaved());
}

TEST_F(MainWindowStartUp, ClosingTheMainWindowUnloadsAnOpenPreview) {
    writeFile(programFolder + QStringLiteral("/notes.txt"), "Notes");
    ASSERT_TRUE(startLoggedIn());
    frmPrintPreview::DisplayFile(programFolder + QStringLiteral("/notes.txt"), QString(), 0, false);
    QPointer<frmPrintPreview> preview;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* p = qobject_cast<frmPrintPreview*>(w)) {
            preview = p;
        }
    }
    ASSERT_TRUE(preview);
    ASSERT_TRUE(preview->isVisible());

    EXPECT_TRUE(window->close());
    EXPECT_TRUE(window->IsUnloaded());
    EXPECT_FALSE(Forms::Contains(preview));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(preview.isNull());
}

TEST_F(MainWindowStartUp, ASettingsReloadKeepsTheFilterAndTheDatabase) {
    ASSERT_TRUE(startLoggedIn());
    ASSERT_EQ(window->comboMessageFilter->count(), 4);
    EXPECT_EQ(window->comboMessageFilter->currentText(), QStringLiteral("Last 4 Hours"));
    window->comboMessageFilter->setCurrentIndex(2);
    OrlixDatabase* before = window->Database();

    int dialogs = 0;
    settingsDialog([&] { ++dialogs; });
    window->mnuProgramSettings->trigger();
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(window->FormReady());
    EXPECT_EQ(window->comboMessageFilter->currentText(), QStringLiteral("Last 24 Hours"));
    EXPECT_EQ(window->comboMessageFilter->currentData().toInt(), 1440);
    EXPECT_EQ(window->Database(), before);

    // A database folder changed in the dialog opens the database there.
    settingsDialog([&] {
        window->clsSettingsObject->SetOrlixPath(folder("db2"));
        QString profile;
        window->clsSettingsObject->SaveSettings(profile);
    });
    window->mnuProgramSettings->trigger();
    ASSERT_NE(window->Database(), nullptr);
    EXPECT_EQ(window->Database()->DatabasePath(), folder("db2"));
}

TEST_F(MainWindowStartUp, AReloadThatFailsAfterStartUpSaysWhy) {
    writeFile(TestHome() + QStringLiteral("/plainfile"), "x");
    struct Case {
        const char* name;
        QString talkback;
        QString reason;
    };
    const Case cases[] = {
        {"no talkback folder", QString(),
         QStringLiteral("the Orlix Database, Scripts and Simple Talkback folders must all be "
                        "set.")},
        {"a folder that cannot be made", TestHome() + QStringLiteral("/plainfile/talkback"),
         QStringLiteral("the folder '") + TestHome() +
             QStringLiteral("/plainfile/talkback' could not be created.")},
    };
    ASSERT_TRUE(startLoggedIn());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestMessageBoxes().clear();
        settingsDialog([&] {
            window->clsSettingsObject->SetTalkbackSimplePath(c.talkback);
            QString profile;
            window->clsSettingsObject->SaveSettings(profile);
        });
        window->mnuProgramSettings->trigger();
        ASSERT_EQ(TestMessageBoxes().shown().size(), 1u);
        EXPECT_EQ(TestMessageBoxes().shown().front().text,
                  QStringLiteral("The settings of the profile 'Studio' could not be used: ") +
                      c.reason);
        EXPECT_EQ(TestMessageBoxes().shown().front().icon, MsgIcon::Exclamation);
        EXPECT_TRUE(window->FormReady());
    }
}

TEST_F(MainWindowStartUp, TheHelpItemsFollowTheHelpFile) {
    struct Case {
        const char* name;
        QByteArray content; // empty: no file at all
        bool create;
        bool visible;
    };
    const Case cases[] = {
        {"missing", {}, false, false}, {"empty", {}, true, false}, {"present", "help", true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(programFolder + QStringLiteral("/Orlix1.chm"));
        if (c.create) {
            writeFile(programFolder + QStringLiteral("/Orlix1.chm"), c.content);
        }
        ASSERT_TRUE(startLoggedIn());
        EXPECT_EQ(window->mnuHelpContents->isVisible(), c.visible);
        EXPECT_EQ(window->mnuHelpSearch->isVisible(), c.visible);
        EXPECT_EQ(window->mnuHelpBarSep->isVisible(), c.visible);
        if (c.visible) {
            opened.clear();
            window->mnuHelpContents->trigger();
            window->mnuHelpSearch->trigger();
            const QUrl help = QUrl::fromLocalFile(programFolder + QStringLiteral("/Orlix1.chm"));
            EXPECT_EQ(opened, (QList<QUrl>{help, help}));
        }
        window.reset();
    }
}

TEST_F(MainWindowStartUp, AProgramFolderEndingInASeparatorGivesOneSeparator) {
    AppInfo::SetPath(programFolder + QLatin1Char('/'));
    EXPECT_EQ(frmMain::HelpFilePath(), programFolder + QStringLiteral("/Orlix1.chm"));
    EXPECT_EQ(frmMain::UpdateNotesPath(), programFolder + QStringLiteral("/UPDATES.RTF"));
}

TEST_F(MainWindowStartUp, TheUpdateNotesShowWhenNewerAndNotOnTheNextStart) {
    writeFile(programFolder + QStringLiteral("/UPDATES.RTF"), "{\\rtf1\\ansi Notes\\par}");
    ASSERT_TRUE(startLoggedIn());
    EXPECT_EQ(TestDialogs().shownCount(QStringLiteral("frmPrintPreview")), 1);
    EXPECT_FALSE(
        IsUpdateInformationNewer(frmMain::UpdateNotesPath(), frmMain::UpdateInformationKey()));
    window.reset();

    ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
    EXPECT_EQ(TestDialogs().shownCount(QStringLiteral("frmPrintPreview")), 1);
    window.reset();

    // A newer file is shown again.
    QFile notes(programFolder + QStringLiteral("/UPDATES.RTF"));
    ASSERT_TRUE(notes.open(QIODevice::ReadWrite));
    notes.setFileTime(QDateTime::currentDateTime().addDays(1), QFileDevice::FileModificationTime);
    notes.close();
    ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
    EXPECT_EQ(TestDialogs().shownCount(QStringLiteral("frmPrintPreview")), 2);
}

TEST_F(MainWindowStartUp, EmptyUpdateNotesShowNothingAndStoreNoDate) {
    writeFile(programFolder + QStringLiteral("/UPDATES.RTF"), "");
    ASSERT_TRUE(startLoggedIn());
    window->mnuUpdateInformation->trigger();
    EXPECT_EQ(TestDialogs().shownCount(QStringLiteral("frmPrintPreview")), 0);
    EXPECT_TRUE(
        RegistryStore::ValueNames(RegistryRoot::CurrentUser, frmMain::UpdateInformationKey())
            .isEmpty());
}

TEST_F(MainWindowStartUp, TheMakersPagesOpenInTheDesktopsBrowser) {
    ASSERT_TRUE(startLoggedIn());
    window->mnuForum->trigger();
    window->mnuKestovaSupportWebsite->trigger();
    window->mnuKestovaWebsite->trigger();
    const QString site = AppInfo::MakerWebsite();
    EXPECT_EQ(opened, (QList<QUrl>{QUrl(site + QStringLiteral("/forum/")),
                                   QUrl(site + QStringLiteral("/support/")),
                                   QUrl(site + QStringLiteral("/"))}));
}

TEST_F(MainWindowStartUp, DatabaseSettingsWithNoDatabaseOnlyLogs) {
    ASSERT_TRUE(startLoggedIn(QStringLiteral("/DEBUG=NORMAL")));
    window->CloseOrlixDatabase();
    EXPECT_TRUE(window->mnuOrlixDBSettings->isEnabled());
    window->mnuOrlixDBSettings->trigger();
    EXPECT_TRUE(TestMessageBoxes().shown().empty());
    EXPECT_TRUE(
        logTexts().contains(QStringLiteral("Orlix Database Settings: no database is open")));
}

TEST_F(MainWindowStartUp, DatabaseSettingsShowTheDatabasesDialog) {
    ASSERT_TRUE(startLoggedIn());
    TestDialogs().queue([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Orlix Database Settings"));
        d.reject();
    });
    window->mnuOrlixDBSettings->trigger();
    EXPECT_EQ(TestDialogs().shownCount(QStringLiteral("DatabaseSettingsDialog")), 1);
}
} // namespace

namespace {
TEST_F(MainWindowStartUp, APrizeChangedElsewhereShowsWhenTheWindowIsActiveAgain) {
    ASSERT_TRUE(startLoggedIn());
    OrlixDatabase& db = *window->Database();
    auto prize = db.NewPrize();
    prize->SetTitle(QStringLiteral("Concert tickets"));
    bool ok = false;
    db.StorePrize(*prize, ok);
    ASSERT_TRUE(ok);
    window->ctlPrize->SetPrize(prize);
    auto elsewhere = db.GetPrize(prize->Reference());
    elsewhere->SetTitle(QStringLiteral("Festival tickets"));
    db.StorePrize(*elsewhere, ok);
    ASSERT_TRUE(ok);

    window->optPrize->SetValue(1);
    window->optPrize_Click();
    const int before = window->ctlPrize->RefreshCount();
    ASSERT_TRUE(ShowActive(*window));
    EXPECT_EQ(prize->Title(), QStringLiteral("Festival tickets"));
    EXPECT_GT(window->ctlPrize->RefreshCount(), before);
}
} // namespace

namespace {
TEST_F(MainWindowStartUp, TheScriptTreeHasItsRootsWithTheirKeysAndPictures) {
    seedProfile(true);
    addUser(QStringLiteral("admin"));
    ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
    QTreeWidget* tree = window->treeScripts;
    // The logged-in user's own script comes before the roots.
    ASSERT_EQ(tree->topLevelItemCount(), 3);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("Admin's script"));
    QTreeWidgetItem* log = tree->topLevelItem(1);
    QTreeWidgetItem* other = tree->topLevelItem(2);
    EXPECT_EQ(log->text(0), QStringLiteral("Log Scripts"));
    EXPECT_EQ(log->data(0, frmMain::kNodeKeyRole).toString(), QStringLiteral("LOGSCRIPT"));
    // The settings load selects the log root; the login then opens the user's own script.
    EXPECT_EQ(tree->currentItem(), tree->topLevelItem(0));
    EXPECT_FALSE(log->icon(0).isNull());
    EXPECT_EQ(other->text(0), QStringLiteral("Other Scripts"));
    EXPECT_EQ(other->data(0, frmMain::kNodeKeyRole).toString(), QStringLiteral("OTHERSCRIPTS"));
    EXPECT_EQ(other->data(0, frmMain::kNodeTagRole).toString(), QStringLiteral("<OTHERSCRIPT>"));
    EXPECT_TRUE(other->isExpanded());
    const auto picture = [](const QIcon& icon) { return icon.pixmap(16).toImage(); };
    EXPECT_EQ(picture(other->icon(0)), picture(ScriptTreeImage(QStringLiteral("open"))));
    // A root never collapses.
    other->setExpanded(false);
    EXPECT_TRUE(other->isExpanded());
    other->setExpanded(true);
    EXPECT_EQ(picture(other->icon(0)), picture(ScriptTreeImage(QStringLiteral("open"))));

    // Without a playout computer only "Other Scripts" is there.
    window.reset();
    seedProfile(false);
    ASSERT_TRUE(start(QStringLiteral("/NOPREVCHECK /Profile=Studio /User=admin")));
    ASSERT_EQ(window->treeScripts->topLevelItemCount(), 2);
    EXPECT_EQ(window->treeScripts->topLevelItem(1)->text(0), QStringLiteral("Other Scripts"));
}
} // namespace
