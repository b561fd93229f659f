#pragma once

// The input box's layout on activation, in twips, as a pure function of the heights its
// controls take. Every input control shares one top under the prompt; the buttons sit
// 120 twips under the control in use, and the window ends 120 twips under the buttons.
struct InputBoxLayoutInput {
    int captionTop = 120;
    int captionHeight = 0;
    int textHeight = 0;    // Text1, and the combo boxes, which take its row
    int listHeight = 0;    // listMulti or listMultiNonSel
    bool listMode = false; // ReturnMultiList or ReturnMultiListNonSel is the mode
    int buttonHeight = 375;
};

struct InputBoxLayout {
    int controlTop = 0;
    int buttonTop = 0;
    int innerHeight = 0; // the window's inner height
};

InputBoxLayout LayOutInputBox(const InputBoxLayoutInput& in);
