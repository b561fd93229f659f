#pragma once

class QToolBar;

// Keeps every button of a toolbar on it: when the captions beside the pictures need more room
// than the toolbar has, its buttons show their pictures alone, each caption kept as its tool
// tip, before any button goes behind the extension button; with room again the captions come
// back. Buttons that show a picture alone by design stay so. Call once the toolbar is filled.
namespace ToolbarCaptions {
void FitToWidth(QToolBar* toolbar);
} // namespace ToolbarCaptions
