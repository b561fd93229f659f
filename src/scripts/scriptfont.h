#pragma once

#include "platform/system/fontstyle.h"

#include <QColor>
#include <QString>

#include <optional>

// The profile's script font as the script view applies it to the whole shown document.
struct ScriptFontLook {
    QString family;
    int pixelSize = 0; // 0: the document keeps its own sizes
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeThrough = false;
    QColor colour;
};

// The size of a font size step 1..7 (8, 10, 12, 14, 18, 24, 36); 0 for any other step.
int ScriptFontPixelSize(int step);

// The look of a script font; nothing when there is no font or its name is empty, in which
// case the shown document keeps its own look. Only a flag of exactly 1 switches a style on.
std::optional<ScriptFontLook> ScriptFontLookOf(const FontStyle* font);
