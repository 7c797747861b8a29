#pragma once

#include "ui/core/services/ProgramControl.h"

namespace orvel {

// Leaves the application's event loop without closing any window, so no close handler runs;
// main() then destroys the windows.
class QtProgramControl : public ProgramControl {
public:
    void endProgram() override;
};

}  // namespace orvel
