// The windows' typeface. Verdana where it is installed; otherwise DejaVu Sans, a metric-similar
// sans that the setup script installs.
#pragma once

#include <QFont>

namespace orvel {

QFont verdana(qreal pointSize, bool bold = false);

constexpr qreal kControlPointSize = 8.25;
constexpr qreal kFeaturesPointSize = 9.75;

}  // namespace orvel
