#include "core/orlixcommon.h"

#include "core/debuglog.h"
#include "core/dialogs/frmsplash.h"
#include "core/parameters.h"
#include "platform/directory/kvdirectory.h"
#include "platform/system/appinfo.h"
#include "platform/system/appservices.h"
#include "platform/system/datetimehelper.h"
#include "platform/system/filesystemhelper.h"
#include "platform/system/profilemanager.h"

#include <QCoreApplication>

#include <cstdio>
#include <exception>

QString gProfileName;
QString gProfileFolder;
QString gDataFolder;

namespace {
std::unique_ptr<KVDirectory>& directory() {
    static std::unique_ptr<KVDirectory> d;
    return d;
}

std::unique_ptr<frmSplash>& splash() {
    static std::unique_ptr<frmSplash> s;
    return s;
}

// A failed start is never silent: the debug log may be off, so standard error hears it too.
bool failStart(const QString& logLine, const char* why) {
    DebugLog(logLine, 5, LogOutdent);
    std::fprintf(stderr, "%s: %s\n", AppInfo::EXEName().toLocal8Bit().constData(), why);
    return false;
}

bool initialise(const QString& baseKey, bool serverFlag) {
    InitDebug();
    DebugLog(QStringLiteral("Started InitialiseOrlix"), 5, LogIndent);

    AppServices& app = AppServices::Instance();
    app.SetAppObject(QCoreApplication::instance());
    app.SetCommandLine(AppInfo::CommandLine().toUpper() + QLatin1Char(' '));
    DebugLog(QStringLiteral("Read StartupOptions ") + app.CommandLine());

    // Every copy takes the single-instance lock; the switch only skips the test.
    const bool another = app.PrevInstance();
    if (!app.CommandLine().contains(QStringLiteral("/NOPREVCHECK"), Qt::CaseInsensitive) &&
        another) {
        return failStart(QStringLiteral("Exit as app already running"),
                         "another copy is already running for this user");
    }

    splash() = std::make_unique<frmSplash>();
    frmSplash& s = *splash();
    s.SetNumberIcons(2);
    s.SetIconInfo(1, QStringLiteral("local"), QStringLiteral("Local Settings"));
    s.SetIconInfo(2, QStringLiteral("security"), QStringLiteral("User Security"));
    s.show();
    QCoreApplication::processEvents();

    s.SetIconInfo(1, QStringLiteral("localon"), QStringLiteral("Local Settings"));

    {
        ProfileManager profiles;
        gProfileName = GetParameter(AppInfo::CommandLine(), QStringLiteral("/Profile"),
                                    QStringLiteral("="), false, QStringLiteral(" "));
        QString line = QStringLiteral("Getting Profile Name");
        if (!gProfileName.isEmpty()) {
            line += QStringLiteral(" (Forcing '") + gProfileName + QStringLiteral("')");
        }
        DebugLog(line);

        profiles.SetForcedProfile(gProfileName);
        QString chosen;
        gProfileName =
            profiles.ChooseProfile(baseKey + QStringLiteral("\\Profiles"), nullptr, chosen);
        if (gProfileName.isEmpty()) {
            return failStart(QStringLiteral("No Profile chosen so finished"),
                             "no profile was chosen");
        }
        DebugLog(QStringLiteral("Profile Chosen: '") + gProfileName + QLatin1Char('\''));
    }

    gProfileFolder = FileSystemHelper::SpecialFolderPath(FileSystemHelper::CommonAppData) +
                     QStringLiteral("/Kestova/Orlix v1/Profiles/") + gProfileName;
    if (serverFlag) {
        gProfileFolder += QStringLiteral("/Server");
    }
    FileSystemHelper::CreateFolder(gProfileFolder, 0);

    s.SetCurrentAction(QStringLiteral("Creating Directory Interface"));
    DebugLog(QStringLiteral("Creating Kestova Directory Interface"));
    directory() = std::make_unique<KVDirectory>();
    KVDirectory& dir = *directory();
    dir.SetDebugLevel(app.DebugLevel());
    dir.SetProfileName(gProfileName);
    dir.SetClientOptions(33);
    dir.SetClientLevel(2);

    s.SetCurrentAction(QStringLiteral("Opening Kestova Directory"));
    DebugLog(QStringLiteral("Opening Default Directory"));
    bool failed = false;
    dir.OpenDefault(true, failed);
    if (failed) {
        return failStart(QStringLiteral("Failed so finished"), "the directory could not be opened");
    }

    bool ok = false;
    dir.Applications().Register(kProductCode, QCoreApplication::instance(), ok);

    s.SetIconInfo(2, QStringLiteral("securityon"), QStringLiteral("User Security"));
    DebugLog(QStringLiteral("Finished OK"), 5, LogOutdent);
    return true;
}
} // namespace

KVDirectory* Directory() {
    return directory().get();
}
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
    try {
        if (directory()) {
            KVDirectory& dir = *directory();
            dir.Logout();
            bool ok = false;
            dir.Applications().Unregister(kProductCode, QCoreApplication::instance(), ok);
            dir.Close(ok);
            DateTimeHelper::Pause(0.3, 0);
            directory().reset();
        }
    } catch (const std::exception& e) {
        DebugLog(QStringLiteral("TerminateOrlix: ") + QString::fromLocal8Bit(e.what()));
        directory().reset();
    }
    DebugLog(QStringLiteral("Finished OK"), 5, LogOutdent);
}
