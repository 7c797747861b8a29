// Colours, fonts and text drawing shared by every picture, so that the strips, panels and button
// faces of both windows match and the title pictures blend into the strips they cover.
#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;

namespace picturegen {

namespace colour {
inline const QColor kPanelWhite{255, 255, 255};
inline const QColor kPanelBlueGrey{221, 227, 236};
inline const QColor kPanelEdge{176, 188, 205};
inline const QColor kStripTop{236, 241, 248};
inline const QColor kStripBottom{184, 198, 218};
inline const QColor kStripEdge{122, 140, 168};
inline const QColor kTitleText{22, 36, 64};
inline const QColor kLogoMark{32, 62, 108};
inline const QColor kLogoAccent{196, 64, 48};
inline const QColor kBannerGrey{128, 128, 128};
}  // namespace colour

enum class Weight { Regular, Bold };

// The windows' face, Verdana, where it is installed; DejaVu Sans otherwise. Sizes are in pixels
// so that the pictures don't depend on the screen's resolution.
QFont uiFont(qreal pixelSize, Weight weight = Weight::Regular);

// Largest pixel size, not above maxPixelSize, at which text fits in width.
qreal fittingPixelSize(const QString& text, qreal width, qreal maxPixelSize, Weight weight);

// Where text is placed vertically: its capitals centred on the middle of rect.
qreal centredBaseline(const QFont& font, const QRectF& rect);

// Draws text in rect with the letter at underlinedIndex underlined (-1 for none), capitals
// centred vertically, aligned left or centred horizontally as alignment says.
void drawCaption(QPainter& painter, const QRectF& rect, Qt::Alignment alignment,
                 const QString& text, int underlinedIndex, const QFont& font);

}  // namespace picturegen
