#pragma once

#include <QMap>

#include <functional>

class QWidget;

// The windows other parts of the program open: the edit windows the openers show, and the
// main window's dialogs.
enum class WindowKind { Contact, Prize, PrizeWinner, Email, Sms, Settings, About, SupportFile };

// The one place windows are made. Each folder registers the makers of its own windows at
// start-up, in its <folder>windows.cpp; the openers and the main window's menus ask here.
// A kind nobody registered opens nothing, and a debug-log line says so.
class WindowRegistry {
public:
    // Makes a new window of the kind; owner is the window it is opened over (may be null).
    using Maker = std::function<QWidget*(QWidget* owner)>;
    // Shows a window in front of the others; when modal, returns once it is closed.
    using Shower = std::function<void(QWidget* window, bool modal)>;

    // Replaces the kind's maker; an empty maker removes it.
    void Register(WindowKind kind, Maker maker);
    bool Has(WindowKind kind) const;

    // A new window of the kind, loaded as a form; null when none is registered.
    QWidget* Make(WindowKind kind, QWidget* owner = nullptr);

    // Shows the window through the shower. After a modal showing the window may be gone: a
    // caller that wants it afterwards holds a QPointer.
    void Show(QWidget* window, bool modal);
    // Tests record the showings here; an empty shower puts the real one back.
    void SetShower(Shower shower);

    // Makes the kind's window over owner, runs it modally and frees it once it has closed.
    // False when none is registered (a debug-log line says so) or its maker made none.
    bool ShowModal(WindowKind kind, QWidget* owner);

private:
    QMap<WindowKind, Maker> makers_;
    Shower shower_;
};
