#pragma once

#include <QString>

// Where a listener's attachment is copied before the desktop opens it, and whether it may be
// opened at all. The copy lives directly in the user's private temporary folder under its safe
// name and nowhere else. Only the kinds listed below are handed to the desktop; a program, a
// script, a launcher or any other kind is saved but never opened, so a double click never
// runs a listener's program.
namespace attachmentcopy {

inline constexpr const char* kProgramRefusal =
    "It is a program, and programs are not opened from a message.";

// The copy's path: folder, "/" and the name, where a name that could still leave the folder
// or name it (empty, ".", "..", a separator or a NUL in it) becomes "attachment". "" when
// there is no folder.
QString CopyPath(const QString& folder, const QString& safeName);

// Clears the way for a new copy at path: an older copy, or a link of that name (the link
// itself, never what it points to), is removed. False when something stays there.
bool ClearCopyPath(const QString& path);

inline constexpr const char* kKindRefusal =
    "Only documents, pictures, sound and video are opened from a message.";
inline constexpr const char* kNoOpenerText =
    "No program on this computer opens files of this kind.";

// Whether the file, by its name or by its first bytes, is something a desktop would run:
// an executable, a script, a launcher or an installer.
bool IsProgram(const QString& path);

// Whether the exact type the file's name gives is one a presenter opens from a message: plain
// text and CSV, PDF, RTF, the office documents (not macro-enabled), pictures but SVG, sound
// and video. What a type inherits does not count: a script inherits plain text.
bool IsOpenedKind(const QString& path);

// Why the copy at path is not handed to the desktop; empty when it may be.
QString OpenRefusal(const QString& path);

} // namespace attachmentcopy
