#pragma once
// The salt list's bars on the screen: twips at the window's scale, whole pixels.

#include "log/core/LogBars.h"
#include "ui/Twips.h"

#include <algorithm>
#include <cmath>

namespace morv {

inline int ToPixels(double twips) { return static_cast<int>(std::lround(HeldTwips(twips) / TwipsPerPixel)); }

// A horizontal extent. Both edges are rounded, not the width, so that a bar
// ends on the same pixel as a mark placed at its end.
struct PixelSpan {
    int left = 0;
    int width = 0;
};

inline PixelSpan ToPixels(double leftTwips, double widthTwips) {
    const double left = HeldTwips(leftTwips);
    const double right = HeldTwips(left + std::max(0.0, widthTwips));
    const int leftPx = ToPixels(left);
    return {leftPx, ToPixels(right) - leftPx};
}

}  // namespace morv
