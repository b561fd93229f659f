#pragma once

#include <QString>

// Which kind of tree node a script is shown under, as far as the right to edit it goes.
enum class ScriptNodeKind {
    None,       // nothing selected
    Personal,   // the logged-in user's own script
    SharedRoot, // "Other Scripts": an empty or new script
    Other,      // a shared script file or the log script
};

// Whether the shown script may be edited: the personal script always; a new or empty script
// and a shared HTML file only with the right to create scripts; the log script, a playout
// text and a file that is not HTML never.
bool MayEditScript(ScriptNodeKind node, const QString& scriptFile, bool canCreateScripts);

// True for the extensions the view shows (and saves) as HTML: htm, html, asp, aspx.
bool IsHtmlScriptFile(const QString& path);

// The automatic scroll: the first step 2000 ms after it is switched on, then one step every
// (11 - speed) x 50 ms, the speed clamped to 1..10 (6 when there are no settings).
namespace ScriptScroll {
inline constexpr int kFirstStepMs = 2000;
inline constexpr int kFastStepMs = 50;
inline constexpr int kAutoStep = 1;
inline constexpr int kFastStep = 3;
inline constexpr int kDefaultSpeed = 6;
int StepInterval(int speed);
} // namespace ScriptScroll
