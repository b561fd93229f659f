#pragma once

#include "core/profile/cocsettings.h"
#include "platform/directory/kvdirectory.h"

#include <QString>

// A studio computer in a home of its own (ORLIX_HOME): the profile "Studio" with its three
// folders, and one directory user "bench" without a password (made unless it is there).
inline bool PrepareBenchStudio(const QString& home) {
    qputenv("ORLIX_HOME", home.toLocal8Bit());
    cOCSettings settings;
    QString profile = QStringLiteral("Studio");
    settings.LoadSettings(profile);
    settings.SetOrlixPath(home + QStringLiteral("/db"));
    settings.SetScriptPath(home + QStringLiteral("/scripts"));
    settings.SetTalkbackSimplePath(home + QStringLiteral("/talkback"));
    if (!settings.SaveSettings(profile)) {
        return false;
    }
    KVDirectory directory;
    bool failed = true;
    directory.OpenDefault(true, failed);
    if (failed) {
        return false;
    }
    QString refusal;
    // A home kept from an earlier run has its user already.
    const bool made = directory.GetContactByLoginName(QStringLiteral("bench")) != nullptr ||
                      directory.CreateFirstUser(QStringLiteral("Bench"), QStringLiteral("bench"),
                                                QString(), &refusal) != nullptr;
    bool ok = false;
    directory.Close(ok);
    return made;
}
