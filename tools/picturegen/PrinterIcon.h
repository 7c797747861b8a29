// The program's icon, a little printer, drawn on a grid of 16 × 16 units at any scale.
#pragma once

class QPainter;

namespace picturegen {

// Whole-unit blocks in the classic colours only: crisp and exact at 16 and 32 pixels.
void drawPixelPrinterIcon(QPainter& painter);

// Curves and shading for the desktop's larger sizes.
void drawSmoothPrinterIcon(QPainter& painter);

}  // namespace picturegen
