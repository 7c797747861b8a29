#include "ui/qt/layout/UiFonts.h"

#include <QStringList>

namespace orvel {

QFont verdana(qreal pointSize, bool bold) {
    QFont font;
    font.setFamilies({QLatin1String(kTypeface), QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

QFont fontOf(const FontLook& look) {
    return verdana(look.pointSize, look.bold);
}

QColor colourOf(const Rgb& colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

}  // namespace orvel
