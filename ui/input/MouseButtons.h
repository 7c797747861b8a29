// The mouse button that the windows' mouse handlers receive: 1 left, 2 right, 4 middle.
#pragma once

#include <Qt>

namespace orvel {

constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

// 0 for any other button.
int mouseButtonCode(Qt::MouseButton button);

}  // namespace orvel
