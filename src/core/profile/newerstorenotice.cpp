#include "core/profile/newerstorenotice.h"

#include "core/debuglog.h"
#include "platform/system/appinfo.h"
#include "platform/system/registrystore.h"
#include "platform/ui/messagebox.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTimer>

#include <utility>

namespace {
struct Notice {
    QString logLine;
    QString text;
};

QList<Notice>& pending() {
    static QList<Notice> notices;
    return notices;
}

void tell(Notice notice) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) {
        return;
    }
    pending().append(std::move(notice));
    // The machine store is first read while the debug log is choosing its level, before it
    // writes anything: by the time the event loop runs, it has.
    QTimer::singleShot(0, app, [] { ShowStoreNotices(); });
}

QString withoutFullStop(QString reason) {
    while (reason.endsWith(QLatin1Char('.'))) {
        reason.chop(1);
    }
    return reason;
}
} // namespace

QString NewerStoreMessage(const QString& path) {
    return QStringLiteral("The settings file '%1' belongs to a newer version of %2.\n\n"
                          "This version uses the settings it understands, but changes to the "
                          "settings are not saved.")
        .arg(path, AppInfo::Title());
}

QString UnreadableStoreMessage(const QString& path, const QString& reason, bool machine) {
    return QStringLiteral("The settings file '%1' could not be read: %2.\n\n%3")
        .arg(path, withoutFullStop(reason),
             machine ? QStringLiteral("The program cannot start without it.")
                     : QStringLiteral("The program goes on without the settings it holds, and "
                                      "changes to them are not saved."));
}

QString DamagedStoreMessage(const QString& path) {
    return QStringLiteral("The settings file '%1' is damaged and could not be read.\n\n"
                          "The program goes on without the settings it held; the damaged file "
                          "is kept beside the new one when settings are next saved.")
        .arg(path);
}

void InstallNewerStoreNotice() {
    RegistryStore::SetNewerVersionHandler([](const QString& path) {
        tell({QStringLiteral("The settings file '%1' belongs to a newer version; changes to the "
                             "settings are not saved")
                  .arg(path),
              NewerStoreMessage(path)});
    });
    RegistryStore::SetProblemHandler([](RegistryRoot root, const QString& path,
                                        RegistryStore::Problem problem, const QString& reason) {
        if (problem == RegistryStore::Problem::Damaged) {
            tell(
                {QStringLiteral("The settings file '%1' is damaged; it is used as empty").arg(path),
                 DamagedStoreMessage(path)});
            return;
        }
        tell({QStringLiteral("The settings file '%1' could not be read: %2").arg(path, reason),
              UnreadableStoreMessage(path, reason, root == RegistryRoot::LocalMachine)});
    });
}

void ShowStoreNotices() {
    // Taken first: a box's own event loop may run the queued call, which must find nothing.
    const QList<Notice> notices = std::exchange(pending(), {});
    for (const Notice& notice : notices) {
        DebugLog(notice.logLine);
        MsgBox(notice.text, MsgIcon::Exclamation);
    }
}

void DropStoreNotices() {
    pending().clear();
}
