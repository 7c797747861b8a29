// The windows' typeface. Verdana where it is installed; otherwise DejaVu Sans, a metric-similar
// sans that the setup script installs.
#pragma once

#include <QColor>
#include <QFont>

#include "ui/core/layout/Geometry.h"

namespace orvel {

QFont verdana(qreal pointSize, bool bold = false);
QFont fontOf(const FontLook& look);

QColor colourOf(const Rgb& colour);

}  // namespace orvel
