#include "playout/panel/playerstatusview.h"

namespace {
PlayerButtonView on(const char* base) {
    return {true, QLatin1String(base)};
}
PlayerButtonView off(const char* base) {
    return {false, QLatin1String(base)};
}
} // namespace

PlayerStatusView PlayerStatusViewOf(qint32 status) {
    const QString playing = QStringLiteral("1");
    const QString stopped = QStringLiteral("0");
    switch (status) {
    case 5: // playing
        return {on("eject"), on("cue"), on("pause"), playing, true};
    case 9:
        return {on("eject"), on("cue"), on("play"), stopped, true};
    case 11:
        return {on("eject"), off("cue"), on("play"), stopped, true};
    case 14:
        return {on("eject"), on("cue"), off("play"), stopped, true};
    case 18:
        return {off("eject"), off("cue"), off("play"), stopped, false};
    default:
        return {off("eject"), off("cue"), off("pause"), stopped, false};
    }
}

QString PlayerPictureKey(const QString& base, bool enabled) {
    if (base.isEmpty()) {
        return {};
    }
    return base + (enabled ? QLatin1String("white") : QLatin1String("dis"));
}
