#include "PrinterIcon.h"

#include <QLinearGradient>
#include <QPainter>

namespace picturegen {

namespace {

const QColor kOutline(0, 0, 0);
const QColor kSilver(192, 192, 192);
const QColor kGrey(128, 128, 128);
const QColor kNavy(0, 0, 128);
const QColor kLime(0, 255, 0);

}  // namespace

void drawPixelPrinterIcon(QPainter& painter) {
    // Sheet waiting at the top, with two lines of text.
    painter.fillRect(QRect(4, 0, 8, 6), kOutline);
    painter.fillRect(QRect(5, 1, 6, 5), Qt::white);
    painter.fillRect(QRect(6, 2, 4, 1), kGrey);
    painter.fillRect(QRect(6, 4, 4, 1), kGrey);
    // Body: lit top edge, silver case, the paper slot and the darker front.
    painter.fillRect(QRect(0, 5, 16, 9), kOutline);
    painter.fillRect(QRect(1, 6, 14, 1), Qt::white);
    painter.fillRect(QRect(1, 7, 14, 3), kSilver);
    painter.fillRect(QRect(1, 11, 14, 2), kGrey);
    painter.fillRect(QRect(12, 7, 2, 2), kLime);
    // Printed sheet coming out at the front.
    painter.fillRect(QRect(3, 12, 10, 4), kOutline);
    painter.fillRect(QRect(4, 13, 8, 2), Qt::white);
    painter.fillRect(QRect(5, 14, 6, 1), kNavy);
}

void drawSmoothPrinterIcon(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing);
    // Half-unit pens on quarter-unit edges fall on whole pixels at 32 pixels, the smallest size.
    const QPen outline(QColor(40, 46, 58), 0.5);
    const auto textPen = [](const QColor& colour) {
        return QPen(colour, 0.5, Qt::SolidLine, Qt::FlatCap);
    };

    painter.setPen(outline);
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(4.25, 0.25, 7.5, 6.5), 0.5, 0.5);
    painter.setPen(textPen(QColor(150, 158, 170)));
    painter.drawLine(QPointF(5.5, 2.25), QPointF(10.5, 2.25));
    painter.drawLine(QPointF(5.5, 3.75), QPointF(9.5, 3.75));

    QLinearGradient caseShade(0, 5, 0, 13.5);
    caseShade.setColorAt(0, QColor(236, 239, 244));
    caseShade.setColorAt(1, QColor(160, 168, 182));
    painter.setPen(outline);
    painter.setBrush(caseShade);
    painter.drawRoundedRect(QRectF(0.25, 5.25, 15.5, 8.5), 1.5, 1.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(44, 50, 62));
    painter.drawRoundedRect(QRectF(2, 10, 12, 1), 0.5, 0.5);
    painter.setBrush(QColor(40, 200, 70));
    painter.drawEllipse(QRectF(12.5, 6.5, 1.5, 1.5));

    painter.setPen(outline);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(3.25, 10.75, 9.5, 5));
    painter.setPen(textPen(QColor(32, 62, 108)));
    painter.drawLine(QPointF(5, 12.75), QPointF(11, 12.75));
    painter.drawLine(QPointF(5, 14.25), QPointF(9.5, 14.25));
}

}  // namespace picturegen
