// Where things stand on the windows, in the unit the windows are drawn in: twips, 1/1440 inch,
// 15 twips to the pixel at 96 dots per inch. Places are Left, Top, Width, Height within the
// client area.
#pragma once

#include <optional>

namespace orvel {

constexpr int kTwipsPerPixel = 15;

// Whole pixels, rounded to the nearest.
constexpr int pixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

struct Rgb {
    int red;
    int green;
    int blue;
};

// A colour that is either fixed or, when empty, the system's own colour for its role.
using ControlColour = std::optional<Rgb>;

inline constexpr Rgb kWhite = {255, 255, 255};
inline constexpr Rgb kBlack = {0, 0, 0};

// The windows' typeface; a view without it uses the nearest it has.
inline constexpr char kTypeface[] = "Verdana";

struct FontLook {
    double pointSize;
    bool bold;
};

inline constexpr FontLook kControlFont = {8.25, false};
inline constexpr FontLook kControlBoldFont = {8.25, true};
inline constexpr FontLook kFeaturesFont = {9.75, false};

// A top-level window: fixed single border, minimisable, not maximisable, with the close button
// and the printer icon.
struct WindowFrame {
    const char* name;     // "frmConfigUtility"
    const char* caption;  // as the title bar shows it
    int clientWidth;      // twips
    int clientHeight;     // twips
};

}  // namespace orvel
