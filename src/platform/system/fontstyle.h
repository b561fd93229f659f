#pragma once

#include <QString>

// A script or talkback font: name, a size step 1..7, a colour 0x00BBGGRR and four style flags
// (0 = off, any other number on). A plain value changed in place by its users.
struct FontStyle {
    QString Name;
    qint32 Size = 0;
    qint32 TextColour = 0;
    qint32 Bold = 0;
    qint32 Italic = 0;
    qint32 UnderLine = 0;
    qint32 StrikeThru = 0;
};

// A standard font: name, point size with decimals and four styles.
struct StdFont {
    QString Name;
    double Size = 0.0;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;
};
