#pragma once

#include "platform/ui/twips.h"

#include <vector>

// Where the splash window's status icons and their captions go, in twips: the inner width
// less 120 twips is shared equally; each icon is centred in its slot 60 twips in, its caption
// centred under it, the captions' bottoms 90 twips above the inner bottom, and each icon's
// top 480 twips above its caption's top.
struct SplashIconPlace {
    TwipsRect icon;
    TwipsRect label;
};

std::vector<SplashIconPlace> SplashIconLayout(double innerWidth, double innerHeight, int count,
                                              double iconWidth, double iconHeight,
                                              double labelHeight);
