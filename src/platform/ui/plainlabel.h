#pragma once

#include <Qt>

class QLabel;
class QWidget;

// Labels that show their text literally, wrapped: what the program's panes show may come from
// listeners, and markup in it must never be rendered.
namespace PlainLabel {
QLabel* Create(QWidget* parent, const char* name, Qt::TextInteractionFlags interaction);
} // namespace PlainLabel
