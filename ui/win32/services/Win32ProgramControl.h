// Ending the program at once, from within any handler: no window is asked to close.
#pragma once

#include "ui/core/services/ProgramControl.h"

namespace orvel::win32 {

class Win32ProgramControl : public ProgramControl {
public:
    [[noreturn]] void endProgram() override;
};

}  // namespace orvel::win32
