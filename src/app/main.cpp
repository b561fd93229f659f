#include "core/profile/newerstorenotice.h"
#include "core/windows/windowopeners.h"
#include "mainwindow/frmmain.h"
#include "platform/system/appinfo.h"
#include "platform/system/commandline.h"
#include "platform/web/webengineprelude.h"
#include "startupprobe.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[]) {
    PrepareWebEngineBeforeApplication();
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppInfo::ProductName());
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(AppInfo::Major())
                                            .arg(AppInfo::Minor())
                                            .arg(AppInfo::Revision()));
    AppInfo::SetCommandLine(BuildCommandLine(QApplication::arguments().mid(1)));
    InstallWindowOpeners();
    InstallNewerStoreNotice();

    // The main window is the start-up object: loading it starts the client, unloading it
    // ends the program.
    auto window = std::make_unique<frmMain>();
    SetOpenersMainWindow(window.get());
    if (!window->Form_Load()) {
        return window->ExitStatus();
    }
    window->show();
    ArmStartupProbe(*window);
    return QApplication::exec();
}
