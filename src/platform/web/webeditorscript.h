#pragma once

#include <QString>

// The editor's own code, run in the engine's application world of each document the editor
// writes (the page's world has scripts off and never sees it). It defines `orlixEditor` in
// that world: writing a document, edit mode, the editing commands, the selection's state,
// the cleaning of pasted HTML and the document read back, and it reports the user's edits
// and selection changes to the program over the web channel object `orlixEditorBridge`.
namespace WebEditorScript {
// The channel's client library and the editor's code; defines nothing twice.
QString Setup();
// A JavaScript string literal holding text, for calls such as "orlixEditor.write(" ... ")".
QString Literal(const QString& text);
} // namespace WebEditorScript
