#pragma once

#include <QString>

#include <optional>

// What the log mode and log status lines make of the log's buttons and scroller. Every member
// left empty is a control the line leaves as it was.
struct LogButtonView {
    bool enabled = false;
    // The picture key; "" for a button that shows its caption.
    QString picture;

    friend bool operator==(const LogButtonView&, const LogButtonView&) = default;
};

struct LogDisplayView {
    std::optional<LogButtonView> go;
    std::optional<LogButtonView> precue;
    std::optional<LogButtonView> preview;
    std::optional<LogButtonView> standby;
    std::optional<LogButtonView> endType;
    // The six navigation buttons together.
    std::optional<bool> navigationEnabled;
    std::optional<QString> scrollerText;

    friend bool operator==(const LogDisplayView&, const LogDisplayView&) = default;
};

// The log mode line: automatic, or manual with or without "Go"; the text only when the
// line carries one.
LogDisplayView LogModeView(bool automatic, bool goAllowed, const std::optional<QString>& text);
// The log status line: whether a log is loaded.
LogDisplayView LogStatusView(bool logLoaded);
