#include "core/dialogs/splashlayout.h"

#include <cmath>

std::vector<SplashIconPlace> SplashIconLayout(double innerWidth, double innerHeight, int count,
                                              double iconWidth, double iconHeight,
                                              double labelHeight) {
    std::vector<SplashIconPlace> places;
    if (count <= 0) {
        return places;
    }
    // Rounded to the nearest whole twip, a tie to the even one.
    const double slot = std::nearbyint((innerWidth - 120.0) / count);
    for (int i = 1; i <= count; ++i) {
        SplashIconPlace p;
        p.icon.width = iconWidth;
        p.icon.height = iconHeight;
        p.icon.top = innerHeight - 90.0 - 480.0 - labelHeight;
        p.icon.left = (i - 1) * slot + 60.0 + (slot - iconWidth) / 2.0;
        p.label.width = slot - 60.0;
        p.label.height = labelHeight;
        p.label.left = p.icon.left + (iconWidth - p.label.width) / 2.0;
        p.label.top = innerHeight - 90.0 - labelHeight;
        places.push_back(p);
    }
    return places;
}
