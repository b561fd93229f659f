#pragma once

#include <QString>

// The names a script may be saved under, and the files the script tree lists.
namespace ScriptNames {

enum class Outcome { Cancelled, Refused, Accepted };

struct NameCheck {
    Outcome outcome = Outcome::Cancelled;
    QString name; // the trimmed name when accepted
};

inline constexpr int kMaxNameLength = 200;

// The message a refused name gets.
QString RefusalText();

// A typed name: trimmed; blank is a cancel; \ / : * ? " < > |, control characters, a leading
// or trailing full stop and more than 200 characters are refused.
NameCheck CheckName(const QString& typed);

// folder/name.htm, or "" when that path would not lie directly in folder.
QString NewScriptPath(const QString& folder, const QString& name);

// The personal script's path in the user's folder, "" when the user has no folder.
QString PersonalScriptPath(const QString& personalFolder);

// The HTML of a new personal script for the node text (the user's name and "'s script"):
// that text as its title, and as its body followed by ":" and two line breaks.
QString NewPersonalScriptHtml(const QString& nodeText);

// The shared scripts of a folder: the names of its plain files, sorted ignoring case. Hidden
// files (our temporary files among them), sub-folders and symbolic links are left out.
QStringList SharedScriptFiles(const QString& folder);

} // namespace ScriptNames
