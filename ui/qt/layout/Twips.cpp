#include "ui/qt/layout/Twips.h"

namespace orvel {

QRect twipsRect(int left, int top, int width, int height) {
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}

QRect twipsRect(const TwipsRect& place) {
    return twipsRect(place.left, place.top, place.width, place.height);
}

QPointF toTwips(const QPointF& pixelPosition) {
    return pixelPosition * kTwipsPerPixel;
}

}  // namespace orvel
