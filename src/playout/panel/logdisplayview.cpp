#include "playout/panel/logdisplayview.h"

namespace {
LogButtonView button(bool enabled, const char* picture = "") {
    return {enabled, QLatin1String(picture)};
}
} // namespace

LogDisplayView LogModeView(bool automatic, bool goAllowed, const std::optional<QString>& text) {
    LogDisplayView v;
    if (automatic) {
        v.go = button(true, "gowhite");
        v.precue = button(true);
        v.preview = button(true);
        v.standby = button(true, "powergreen");
        v.endType = button(true);
        v.scrollerText = text;
        return v;
    }
    v.go = goAllowed ? button(true, "gowhite") : button(false, "godis");
    v.precue = button(false);
    v.preview = button(true);
    v.standby = button(true, "powerred");
    v.endType = button(false);
    v.scrollerText = QString();
    return v;
}

LogDisplayView LogStatusView(bool logLoaded) {
    LogDisplayView v;
    if (logLoaded) {
        // Shown as manual until the mode line that follows says otherwise.
        v.go = button(true, "gowhite");
        v.precue = button(false);
        v.preview = button(true);
        v.standby = button(true, "powerred");
        v.navigationEnabled = true;
        return v;
    }
    v.go = button(false, "godis");
    v.precue = button(false);
    v.preview = button(false);
    v.standby = button(false, "powerdis");
    v.navigationEnabled = false;
    v.scrollerText = QString();
    return v;
}
