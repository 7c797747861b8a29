// The program's message loop, with key preview: each key event for a window's controls reaches
// the window's handlers first, as the key codes and shift state they compare with, before the
// control sees it.
#pragma once

namespace orvel::win32 {

// Runs until the program ends. Tab, the arrows among the option buttons and the option buttons'
// access keys work as in a dialog.
int runMessageLoop();

}  // namespace orvel::win32
