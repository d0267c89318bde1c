#pragma once
// Positions and lengths that carry meaning are in twips (1/1440 inch); the
// window shows them at 15 twips to the pixel (1440 twips = 96 px).

namespace morv {

inline constexpr int TwipsPerPixel = 15;
inline constexpr int WindowWidthTwips = 14775;
inline constexpr int WindowHeightTwips = 10095;
// The dialog panels stand this far from the top, over the column of commands.
inline constexpr int DialogPanelTopTwips = 600;

// Whole pixels, rounded to the nearest.
constexpr int TwipsToPixels(int twips) {
    return twips >= 0 ? (twips + TwipsPerPixel / 2) / TwipsPerPixel
                      : -((-twips + TwipsPerPixel / 2) / TwipsPerPixel);
}

}  // namespace morv
