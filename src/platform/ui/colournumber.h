#pragma once

#include <QColor>
#include <QVariant>

// Colour numbers as the program stores and passes them: 0x00BBGGRR for a fixed colour, or
// 0x80000000 plus an index for one of the desktop's colours.
namespace ColourNumber {
constexpr quint32 kSystemWindow = 0x80000005U;
constexpr quint32 kSystemButtonFace = 0x8000000FU;
constexpr quint32 kSystemButtonShadow = 0x80000010U;
constexpr quint32 kSystemButtonHighlight = 0x80000014U;

// The colour a number stands for; an invalid QColor for a number that is none (an
// unknown desktop index, or bits above the blue byte).
QColor ToColour(quint32 number);

// A colour passed as a loose value: a QColor, or a colour number of any integer type.
// Anything else gives an invalid QColor.
QColor FromVariant(const QVariant& value);
} // namespace ColourNumber
