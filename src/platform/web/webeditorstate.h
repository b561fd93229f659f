#pragma once

#include <QVariantMap>

// What the editing toolbar shows for the selection of a WebEditor: each style 1 when all of
// the selected text has it, -1 when part of it does, 0 when none does (at a caret, what
// typing would give); the face and the HTML font size (1 to 7) at the selection's start, as
// shown ("" and 0 when the document could not tell); and which commands would do something
// now.
struct WebEditorState {
    int bold = 0;
    int italic = 0;
    int underline = 0;
    int strikeThrough = 0;
    QString fontFace;
    int fontSize = 0;
    bool hasSelection = false;
    bool canCut = false;
    bool canCopy = false;
    bool canPaste = false;
    bool canUndo = false;
    bool canRedo = false;

    // From the editor script's report; editing and clipboard are what the program knows.
    static WebEditorState FromReport(const QVariantMap& report, bool editing,
                                     bool clipboardHasText);
};
