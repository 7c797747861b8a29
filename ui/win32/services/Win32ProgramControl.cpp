#include "ui/win32/services/Win32ProgramControl.h"

#include <windows.h>

namespace orvel::win32 {

void Win32ProgramControl::endProgram() {
    // The handler that ends the program must not run on into windows that are gone: the process
    // ends here, its windows with it, and no close handler runs.
    ExitProcess(0);
}

}  // namespace orvel::win32
