#include "Look.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace picturegen {

namespace {

QString uiFamily() {
    static const QString family = QFontDatabase::families().contains(QStringLiteral("Verdana"))
                                      ? QStringLiteral("Verdana")
                                      : QStringLiteral("DejaVu Sans");
    return family;
}

}  // namespace

QFont uiFont(qreal pixelSize, Weight weight) {
    QFont font(uiFamily());
    font.setPixelSize(qRound(pixelSize));
    font.setWeight(weight == Weight::Bold ? QFont::Bold : QFont::Normal);
    // Fixed hinting and grey antialiasing: the same pixels on every machine with the same font.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    font.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias |
                                               QFont::NoFontMerging));
    return font;
}

qreal fittingPixelSize(const QString& text, qreal width, qreal maxPixelSize, Weight weight) {
    qreal size = maxPixelSize;
    while (size > 6 && QFontMetricsF(uiFont(size, weight)).horizontalAdvance(text) > width) {
        size -= 1;
    }
    return size;
}

qreal centredBaseline(const QFont& font, const QRectF& rect) {
    const QFontMetricsF metrics(font);
    // Rounding down keeps the visual centre at or just above the geometric one, as a box's text
    // sits.
    return std::floor(rect.center().y() + metrics.capHeight() / 2);
}

void drawCaption(QPainter& painter, const QRectF& rect, Qt::Alignment alignment,
                 const QString& text, int underlinedIndex, const QFont& font) {
    const QFontMetricsF metrics(font);
    const qreal textWidth = metrics.horizontalAdvance(text);
    qreal x = rect.left();
    if (alignment & Qt::AlignHCenter) {
        x = std::round(rect.center().x() - textWidth / 2);
    }
    const qreal baseline = centredBaseline(font, rect);
    painter.setFont(font);
    painter.drawText(QPointF(x, baseline), text);
    if (underlinedIndex < 0) {
        return;
    }
    // A one-pixel rule a pixel below the baseline, under the letter's advance.
    const qreal left = std::round(x + metrics.horizontalAdvance(text.left(underlinedIndex)));
    const qreal right = std::round(x + metrics.horizontalAdvance(text.left(underlinedIndex + 1)));
    const qreal thickness = std::max<qreal>(1, std::round(font.pixelSize() / 11.0));
    painter.fillRect(QRectF(left, baseline + 1, right - left, thickness), painter.pen().color());
}

}  // namespace picturegen
