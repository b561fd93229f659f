#include "core/orlixcommon.h"

#include "core/debuglog.h"
#include "core/dialogs/frmsplash.h"
#include "core/profile/newerstorenotice.h"
#include "core/program.h"
#include "platform/directory/kvdirectory.h"
#include "platform/system/appinfo.h"
#include "platform/system/appservices.h"
#include "platform/system/datetimehelper.h"
#include "platform/system/filesystemhelper.h"
#include "platform/system/profilemanager.h"
#include "platform/system/registrystore.h"
#include "platform/ui/messagebox.h"

#include <QCoreApplication>

#include <cstdio>
#include <exception>

namespace {
std::unique_ptr<frmSplash>& splash() {
    static std::unique_ptr<frmSplash> s;
    return s;
}

// A failed start is never silent: the debug log may be off, so standard error hears it too.
bool failStart(const QString& logLine, const char* why) {
    ShowStoreNotices();
    DebugLog(logLine, 5, LogOutdent);
    std::fprintf(stderr, "%s: %s\n", AppInfo::EXEName().toLocal8Bit().constData(), why);
    return false;
}

bool initialise(const QString& baseKey, bool serverFlag) {
    InitDebug();
    DebugLog(QStringLiteral("Started InitialiseOrlix"), 5, LogIndent);

    Program& program = Program::Instance();
    const StartupOptions& options = program.Options();
    AppServices& app = AppServices::Instance();
    app.SetAppObject(QCoreApplication::instance());
    DebugLog(QStringLiteral("Read StartupOptions ") + options.Text);

    // Every copy takes the single-instance lock; the switch only skips the test.
    const bool another = app.PrevInstance();
    if (!options.NoPrevCheck && another) {
        DropStoreNotices();
        return failStart(QStringLiteral("Exit as app already running"),
                         "another copy is already running for this user");
    }

    // Both stores are read before anything is asked, so that what is wrong with either is told
    // first. The machine's holds the profiles: a start without it could only make a new one.
    RegistryStore::KeyExists(RegistryRoot::CurrentUser, baseKey);
    if (RegistryStore::IsUnreadable(RegistryRoot::LocalMachine)) {
        return failStart(QStringLiteral("The machine's settings cannot be read so finished"),
                         "the machine's settings file could not be read");
    }
    ShowStoreNotices();

    splash() = std::make_unique<frmSplash>();
    frmSplash& s = *splash();
    s.SetNumberIcons(2);
    s.SetIconInfo(1, QStringLiteral("local"), QStringLiteral("Local Settings"));
    s.SetIconInfo(2, QStringLiteral("security"), QStringLiteral("User Security"));
    s.show();
    QCoreApplication::processEvents();

    s.SetIconInfo(1, QStringLiteral("localon"), QStringLiteral("Local Settings"));

    QString profileName;
    {
        ProfileManager profiles;
        QString line = QStringLiteral("Getting Profile Name");
        if (!options.Profile.isEmpty()) {
            line += QStringLiteral(" (Forcing '") + options.Profile + QStringLiteral("')");
        }
        DebugLog(line);

        profiles.SetForcedProfile(options.Profile);
        QString chosen;
        profileName =
            profiles.ChooseProfile(baseKey + QStringLiteral("\\Profiles"), nullptr, chosen);
        if (profileName.isEmpty()) {
            return failStart(QStringLiteral("No Profile chosen so finished"),
                             "no profile was chosen");
        }
        DebugLog(QStringLiteral("Profile Chosen: '") + profileName + QLatin1Char('\''));
    }

    QString profileFolder = FileSystemHelper::SpecialFolderPath(FileSystemHelper::CommonAppData) +
                            QStringLiteral("/Kestova/Orlix v1/Profiles/") + profileName;
    if (serverFlag) {
        profileFolder += QStringLiteral("/Server");
    }
    program.SetProfile(profileName, profileFolder);
    FileSystemHelper::CreateFolder(profileFolder, 0);

    s.SetCurrentAction(QStringLiteral("Creating Directory Interface"));
    DebugLog(QStringLiteral("Creating Kestova Directory Interface"));
    program.SetDirectory(std::make_unique<KVDirectory>());
    KVDirectory& dir = *program.Directory();
    dir.SetDebugLevel(app.DebugLevel());
    dir.SetProfileName(profileName);
    dir.SetClientOptions(33);
    dir.SetClientLevel(2);

    s.SetCurrentAction(QStringLiteral("Opening Kestova Directory"));
    DebugLog(QStringLiteral("Opening Default Directory"));
    bool failed = false;
    dir.OpenDefault(true, failed);
    if (failed) {
        // The splash goes first: the box must not sit behind a window that stays on top.
        UnloadSplash();
        MsgBox(QStringLiteral("The contacts directory in '%1' could not be opened: %2\n\n"
                              "The program cannot start without it.")
                   .arg(dir.DataFolder(), dir.OpenProblem()),
               MsgIcon::Exclamation);
        return failStart(QStringLiteral("Failed so finished"), "the directory could not be opened");
    }

    bool ok = false;
    dir.Applications().Register(kProductCode, QCoreApplication::instance(), ok);

    s.SetIconInfo(2, QStringLiteral("securityon"), QStringLiteral("User Security"));
    DebugLog(QStringLiteral("Finished OK"), 5, LogOutdent);
    return true;
}
} // namespace

frmSplash* Splash() {
    return splash().get();
}

void UnloadSplash() {
    if (splash()) {
        splash()->close();
        splash().reset();
    }
}

bool InitialiseOrlix(const QString& baseKey, bool serverFlag) {
    try {
        return initialise(baseKey, serverFlag);
    } catch (const std::exception& e) {
        return failStart(QStringLiteral("Start-up failed: ") + QString::fromLocal8Bit(e.what()),
                         "start-up failed unexpectedly");
    } catch (...) {
        return failStart(QStringLiteral("Start-up failed"), "start-up failed unexpectedly");
    }
}

void TerminateOrlix() {
    DebugLog(QStringLiteral("Start TerminateOrlix"), 5, LogIndent);
    Program& program = Program::Instance();
    try {
        if (KVDirectory* dir = program.Directory()) {
            dir->Logout();
            bool ok = false;
            dir->Applications().Unregister(kProductCode, QCoreApplication::instance(), ok);
            dir->Close(ok);
            DateTimeHelper::Pause(0.3, 0);
            program.SetDirectory(nullptr);
        }
    } catch (const std::exception& e) {
        DebugLog(QStringLiteral("TerminateOrlix: ") + QString::fromLocal8Bit(e.what()));
        program.SetDirectory(nullptr);
    }
    DebugLog(QStringLiteral("Finished OK"), 5, LogOutdent);
}
