#include "Pieces.h"

#include <QLinearGradient>
#include <QPainter>
#include <cmath>

#include "Look.h"

namespace picturegen {

namespace {

constexpr qreal kLogoMarkSide = 44;

struct FaceColours {
    QColor top;
    QColor bottom;
    QColor rim;
    QColor gloss;
};

FaceColours faceColours(FaceState state) {
    if (state == FaceState::Highlighted) {
        return {QColor(214, 230, 255), QColor(150, 186, 238), QColor(44, 76, 130),
                QColor(240, 246, 255)};
    }
    return {QColor(252, 253, 255), QColor(218, 224, 234), QColor(132, 146, 168),
            QColor(255, 255, 255)};
}

void drawLogoMark(QPainter& painter, QPointF topCentre) {
    const QRectF square(topCentre.x() - kLogoMarkSide / 2, topCentre.y(), kLogoMarkSide,
                        kLogoMarkSide);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour::kLogoMark);
    painter.drawRoundedRect(square, 8, 8);

    // Two arms of print-head dots meeting at the foot: a V as the pins would strike it, the
    // last pin in the accent colour.
    const QPointF centre = square.center();
    const qreal radius = 2.7;
    painter.setBrush(Qt::white);
    for (int step = 0; step < 4; ++step) {
        const qreal dx = 12.8 - 3.2 * step;
        const qreal dy = -12 + 6 * step;
        painter.drawEllipse(QPointF(centre.x() - dx, centre.y() + dy), radius, radius);
        painter.drawEllipse(QPointF(centre.x() + dx, centre.y() + dy), radius, radius);
    }
    painter.setBrush(colour::kLogoAccent);
    painter.drawEllipse(QPointF(centre.x(), centre.y() + 12), radius, radius);
}

void drawSpacedText(QPainter& painter, QPointF baselineCentre, const QString& text, QFont font,
                    qreal spacing, const QColor& colour) {
    font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
    const qreal width = QFontMetricsF(font).horizontalAdvance(text) - spacing;
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QPointF(std::round(baselineCentre.x() - width / 2), baselineCentre.y()), text);
}

}  // namespace

void drawTitleStrip(QPainter& painter, int width, int height) {
    QLinearGradient shade(0, 0, 0, height - 1);
    shade.setColorAt(0, colour::kStripTop);
    shade.setColorAt(1, colour::kStripBottom);
    painter.fillRect(QRect(0, 0, width, height - 1), shade);
    painter.fillRect(QRect(0, height - 1, width, 1), colour::kStripEdge);
}

void drawBackground(QPainter& painter, const BackgroundLayout& layout) {
    const int width = layout.size.width();
    const int height = layout.size.height();
    painter.fillRect(QRect(QPoint(0, 0), layout.size), colour::kPanelWhite);
    drawTitleStrip(painter, width, layout.stripHeight);
    const int bodyHeight = layout.footTop - layout.stripHeight;
    painter.fillRect(
        QRect(layout.panelSplitX, layout.stripHeight, width - layout.panelSplitX, bodyHeight),
        colour::kPanelBlueGrey);
    painter.fillRect(QRect(layout.panelSplitX, layout.stripHeight, 1, bodyHeight),
                     colour::kPanelEdge);
    painter.fillRect(QRect(0, layout.footTop, width, height - layout.footTop),
                     colour::kPanelBlueGrey);
    painter.fillRect(QRect(0, layout.footTop, width, 1), colour::kPanelEdge);
    drawLogo(painter, layout.logoTop);
}

void drawLogo(QPainter& painter, QPointF topCentre) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    drawLogoMark(painter, topCentre);
    const qreal nameBaseline = topCentre.y() + kLogoMarkSide + 21;
    drawSpacedText(painter, QPointF(topCentre.x(), nameBaseline), QStringLiteral("VARNET"),
                   uiFont(16, Weight::Bold), 2, colour::kLogoMark);
    painter.fillRect(QRectF(std::round(topCentre.x() - 22), nameBaseline + 4, 44, 2),
                     colour::kLogoAccent);
    drawSpacedText(painter, QPointF(topCentre.x(), nameBaseline + 17),
                   QStringLiteral("PRINTING SYSTEMS"), uiFont(8), 1, colour::kTitleText);
    painter.restore();
}

void drawButtonFace(QPainter& painter, QSize size, const QString& caption, int underlinedIndex,
                    FaceState state) {
    const FaceColours colours = faceColours(state);
    // The corners outside the curve take the panel's colour: a bitmap has no transparency.
    painter.fillRect(QRect(QPoint(0, 0), size), colour::kPanelBlueGrey);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outline = QRectF(0.5, 0.5, size.width() - 1, size.height() - 1);
    QLinearGradient shade(0, 1, 0, size.height() - 1);
    shade.setColorAt(0, colours.top);
    shade.setColorAt(1, colours.bottom);
    painter.setPen(QPen(colours.rim, 1));
    painter.setBrush(shade);
    painter.drawRoundedRect(outline, 6, 6);
    painter.setPen(QPen(colours.gloss, 1));
    painter.drawLine(QPointF(6, 1.5), QPointF(size.width() - 6, 1.5));
    painter.restore();

    painter.setPen(Qt::black);
    drawCaption(painter, QRectF(QPointF(0, 0), size), Qt::AlignHCenter, caption, underlinedIndex,
                uiFont(11));
}

}  // namespace picturegen
