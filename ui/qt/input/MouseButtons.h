// Qt's mouse buttons as the code the windows' mouse handlers receive: 1 left, 2 right, 4 middle.
#pragma once

#include <Qt>

#include "ui/core/input/KeyState.h"

namespace orvel {

// 0 for any other button.
int mouseButtonCode(Qt::MouseButton button);

}  // namespace orvel
