#pragma once

#include "platform/system/fontstyle.h"

#include <QColor>
#include <QFont>

// The program's font objects as Qt fonts. The QFont sets only what the object gives: an
// empty name, or a size that is none, is left for the widget to inherit, so a control given
// a half-filled font keeps the rest of its own.
namespace FontConversion {
// The point size of a size step (1 smallest .. 7 largest, the steps of an HTML font size);
// a step above 7 counts as 7, and 0 or less is no size (0).
double StepPointSize(qint32 step);
// The size step whose point size is nearest (a tie takes the smaller step).
qint32 PointSizeStep(double points);

QFont ToQFont(const StdFont& font);
QFont ToQFont(const FontStyle& font);

// The colour of a script or talkback font; invalid when its number is no colour.
QColor TextColour(const FontStyle& font);
} // namespace FontConversion
