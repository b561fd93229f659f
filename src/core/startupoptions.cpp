#include "core/startupoptions.h"

#include "core/parameters.h"

namespace {
int debugLevelOf(const QString& value) {
    if (value == QLatin1String("NORMAL") || value == QLatin1String("MEDIUM")) {
        return 5;
    }
    if (value == QLatin1String("NONE") || value == QLatin1String("OFF")) {
        return 0;
    }
    return 10;
}
} // namespace

StartupOptions StartupOptions::Parse(const QString& commandLine) {
    const QString blank = QStringLiteral(" ");
    const QString assign = QStringLiteral("=");
    StartupOptions o;
    o.Text = commandLine.toUpper() + QLatin1Char(' ');
    o.Profile = GetParameter(commandLine, QStringLiteral("/Profile"), assign, false, blank);
    o.User = GetParameter(commandLine, QStringLiteral("/User"), assign, false, blank);
    // A switch is found anywhere in the text, even as the start of a longer word.
    const auto has = [&o](const char* name) { return o.Text.contains(QLatin1String(name)); };
    if (has("/DEBUG")) {
        o.DebugLevel = debugLevelOf(GetParameter(commandLine.trimmed().toUpper(),
                                                 QStringLiteral("/DEBUG"), assign, false, blank)
                                        .toUpper());
    }
    o.NoPrevCheck = has("/NOPREVCHECK");
    o.NoSettings = has("/NOSETTINGS");
    o.PlayoutNetworkServer = has("/VORELANET");
    return o;
}
