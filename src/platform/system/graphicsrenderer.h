#pragma once

class Renderer;

// The renderer every window takes its colours from. Until the main window hands over its
// own, and again once that one is gone, it is a program-wide renderer with the default
// scheme, so a window can always read its colours.
Renderer& GraphicsRenderer();

// The main window hands over the renderer it holds; nullptr goes back to the default one.
// The renderer handed over is not owned: when it is destroyed the default comes back.
void HandOverGraphicsRenderer(Renderer* renderer);
