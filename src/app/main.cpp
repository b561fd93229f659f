#include "core/debuglog.h"
#include "core/orlixcommon.h"
#include "core/windowopeners.h"
#include "platform/system/appinfo.h"
#include "platform/system/commandline.h"
#include "platform/web/webengineprelude.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    PrepareWebEngineBeforeApplication();
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppInfo::ProductName());
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(AppInfo::Major())
                                            .arg(AppInfo::Minor())
                                            .arg(AppInfo::Revision()));
    AppInfo::SetCommandLine(BuildCommandLine(QApplication::arguments().mid(1)));
    InitDebug();
    InstallWindowOpeners();

    if (!InitialiseOrlix(QStringLiteral("SOFTWARE\\Kestova\\Orlix v1\\Client"), false)) {
        UnloadSplash();
        TerminateOrlix();
        return 1;
    }
    UnloadSplash();

    QMainWindow window;
    window.setWindowTitle(AppInfo::ProductName());
    window.resize(1024, 700);
    window.show();
    const int rc = QApplication::exec();
    TerminateOrlix();
    return rc;
}
