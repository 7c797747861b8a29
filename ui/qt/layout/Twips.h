// The windows' places in twips, as Qt's pixels: 15 twips to the pixel at 96 dots per inch.
#pragma once

#include <QPointF>
#include <QRect>

#include "ui/core/layout/Geometry.h"

namespace orvel {

// A control's place within the client area: Left, Top, Width, Height in twips.
QRect twipsRect(int left, int top, int width, int height);
QRect twipsRect(const TwipsRect& place);

// A pointer position in pixels, as twips: the unit the mouse handlers receive.
QPointF toTwips(const QPointF& pixelPosition);

}  // namespace orvel
