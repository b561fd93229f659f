#pragma once

#include <QColor>

class QWidget;

// A widget's own background: the window colour of its palette, filled behind its children.
// An invalid colour gives the inherited look back.
void PaintBackColour(QWidget* widget, const QColor& colour);
