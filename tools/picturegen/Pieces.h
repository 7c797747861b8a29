// The parts the pictures are built from: the title strip, the panels of a window background, the
// maker's logo and the picture-button faces.
#pragma once

#include <QPointF>
#include <QSize>
#include <QString>

class QPainter;

namespace picturegen {

// How a window background is divided: a title strip across the top, a white panel on the left,
// a blue-grey panel on the right and a blue-grey strip along the foot.
struct BackgroundLayout {
    QSize size;
    int stripHeight;  // the title strip covers rows 0 .. stripHeight - 1
    int panelSplitX;  // first column of the right-hand panel
    int footTop;      // first row of the bottom strip
    QPointF logoTop;  // centre of the logo's top edge
};

// The strip's shading depends only on the row, so a title picture drawn with the same call,
// shifted by its own position, matches the strip pixel for pixel.
void drawTitleStrip(QPainter& painter, int width, int height);

void drawBackground(QPainter& painter, const BackgroundLayout& layout);

// The maker's mark (a dot-matrix V in a rounded square) with the lettering below it.
void drawLogo(QPainter& painter, QPointF topCentre);

enum class FaceState { Normal, Highlighted };

void drawButtonFace(QPainter& painter, QSize size, const QString& caption, int underlinedIndex,
                    FaceState state);

}  // namespace picturegen
