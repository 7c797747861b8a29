// The windows' geometry is given in twips, 1/1440 inch: 15 twips to the pixel at 96 dots per inch.
#pragma once

#include <QPointF>
#include <QRect>

namespace orvel {

constexpr int kTwipsPerPixel = 15;

// Whole pixels, rounded to the nearest.
constexpr int pixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// A control's place within the client area: Left, Top, Width, Height in twips.
QRect twipsRect(int left, int top, int width, int height);

// A pointer position in pixels, as twips: the unit the mouse handlers receive.
QPointF toTwips(const QPointF& pixelPosition);

}  // namespace orvel
