#include "contacts/contactswindows.h"
#include "core/profile/newerstorenotice.h"
#include "core/program.h"
#include "core/windows/windowopeners.h"
#include "mainwindow/frmmain.h"
#include "messaging/messagingwindows.h"
#include "platform/system/appinfo.h"
#include "platform/system/commandline.h"
#include "platform/system/localzone.h"
#include "platform/system/sqliteprocess.h"
#include "platform/web/webengineprelude.h"
#include "settings/settingswindows.h"
#include "startupprobe.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[]) {
    SqliteProcess::Prepare();
    LocalZone::Pin();
    PrepareWebEngineBeforeApplication();
    QApplication app(argc, argv);
    LocalZone::WatchForChanges(&app);
    QApplication::setApplicationName(AppInfo::ProductName());
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(AppInfo::Major())
                                            .arg(AppInfo::Minor())
                                            .arg(AppInfo::Revision()));
    // Made before every window and gone after the last.
    Program program(StartupOptions::Parse(BuildCommandLine(QApplication::arguments().mid(1))));
    InstallWindowOpeners();
    InstallMessageWindows(program.Windows());
    InstallContactsWindows(program.Windows());
    InstallSettingsWindows(program.Windows());
    InstallNewerStoreNotice();

    // The main window is the start-up object: loading it starts the client, unloading it
    // ends the program.
    auto window = std::make_unique<frmMain>();
    if (!window->Form_Load()) {
        return window->ExitStatus();
    }
    window->show();
    ArmStartupProbe(*window);
    return QApplication::exec();
}
