#include "core/profile/newerstorenotice.h"

#include "core/debuglog.h"
#include "platform/system/appinfo.h"
#include "platform/system/registrystore.h"
#include "platform/ui/messagebox.h"

#include <QCoreApplication>
#include <QTimer>

QString NewerStoreMessage(const QString& path) {
    return QStringLiteral("The settings file '%1' belongs to a newer version of %2.\n\n"
                          "This version uses the settings it understands, but changes to the "
                          "settings are not saved.")
        .arg(path, AppInfo::Title());
}

void InstallNewerStoreNotice() {
    RegistryStore::SetNewerVersionHandler([](const QString& path) {
        QCoreApplication* app = QCoreApplication::instance();
        if (app == nullptr) {
            return;
        }
        // The machine store is first read while the debug log is choosing its level, before
        // it writes anything: by the time the event loop runs, it has.
        QTimer::singleShot(0, app, [path] {
            DebugLog(QStringLiteral("The settings file '%1' belongs to a newer version; changes "
                                    "to the settings are not saved")
                         .arg(path));
            MsgBox(NewerStoreMessage(path), MsgIcon::Exclamation);
        });
    });
}
