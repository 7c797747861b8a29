// What assistive technology is told about the windows' controls. The picture buttons, the
// caption columns and the banner are pictures to Qt; this names them by what they show, and
// names each selection box by the caption drawn beside it.
#pragma once

namespace orvel {

// Installs the description of both windows' controls, found by their object names. Call once,
// after the application object is created and before the windows are.
void installAccessibility();

}  // namespace orvel
