#include "ui/layout/UiFonts.h"

#include <QStringList>

namespace orvel {

QFont verdana(qreal pointSize, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

}  // namespace orvel
