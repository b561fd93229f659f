#pragma once

#include <QRect>
#include <QtMath>

// Layout lengths stay in twips in the layout code; this is the one place that turns them
// into widget geometry (15 twips to a pixel at 96 dpi; Qt scales the rest).
constexpr double kTwipsPerPixel = 15.0;

inline int TwipsToPixels(double twips) {
    return qRound(twips / kTwipsPerPixel);
}
inline double PixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

// A rectangle in twips: what the layout rules give, and the panes a splitter reports.
struct TwipsRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    QRect toPixels() const {
        return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                TwipsToPixels(height)};
    }
    friend bool operator==(const TwipsRect&, const TwipsRect&) = default;
};
