#pragma once

#include "support/testhome.h"
#include "support/toolrun.h"

// Runs of orlix-settings for its tests. The tool inherits the test's ORLIX_HOME, as the client
// started beside it would.
inline ToolRun tool(const QStringList& args, const QString& workingFolder = {}) {
    return RunTool(QStringLiteral(ORLIX_SETTINGS_TOOL), args, workingFolder);
}

// A folder of the test's studio.
inline QString folder(const char* name) {
    return TestHome() + QStringLiteral("/Studio/") + QLatin1String(name);
}

// "seed PROFILE" with the studio's three folders, each name followed by suffix.
inline QStringList seedArgs(const QString& profile, const QString& suffix = {}) {
    return {QStringLiteral("seed"),       profile,
            QStringLiteral("--database"), folder("Messages") + suffix,
            QStringLiteral("--scripts"),  folder("Scripts") + suffix,
            QStringLiteral("--talkback"), folder("Talkback") + suffix};
}
