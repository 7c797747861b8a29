#include "ui/layout/Twips.h"

namespace orvel {

QRect twipsRect(int left, int top, int width, int height) {
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}

QPointF toTwips(const QPointF& pixelPosition) {
    return pixelPosition * kTwipsPerPixel;
}

}  // namespace orvel
