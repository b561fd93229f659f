#pragma once

#include <QtGlobal>

// Layout lengths are kept in twips; this is the one conversion to widget geometry:
// 15 twips to a pixel at 96 dpi, Qt's device-pixel scaling doing the rest.
constexpr int kTwipsPerPixel = 15;

constexpr int TwipsToPixels(qint64 twips) {
    return static_cast<int>(twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                                       : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel));
}

constexpr qint64 PixelsToTwips(int pixels) {
    return static_cast<qint64>(pixels) * kTwipsPerPixel;
}
