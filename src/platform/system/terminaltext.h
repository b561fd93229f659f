#pragma once

#include <QString>

// Listener text (a From, a Subject, a line of an SMS file) made safe to write on one line of
// an operator's terminal: every control character, tab and line breaks included, is written
// as \xNN, every character that marks or overrides the direction of the text around it as
// \uNNNN, and a backslash as \\, so that nothing a listener wrote can move the cursor, ring
// the bell, reorder the line or pass for one of these escapes.
QString TerminalText(const QString& text);
