// Key preview: each key event for a window's controls reaches the window's handlers first,
// as the design's key codes and shift state, before the control sees it.
#pragma once

#include <windows.h>

namespace orvel::win32 {

class KeyPreviewHandler {
public:
    virtual ~KeyPreviewHandler() = default;
    virtual void keyDown(int& KeyCode, int& Shift) = 0;
    // A character set to 0 is discarded.
    virtual void keyPress(int& KeyAscii) = 0;
    virtual void keyUp(int& KeyCode, int& Shift) = 0;
};

struct PreviewedWindow {
    HWND window;
    KeyPreviewHandler* handler;
};

// Runs the message loop until the program ends, with key preview for the windows that
// windowsOf() names at each message (a window not yet made, or destroyed, is null). Tab, the
// arrows among option buttons and the access keys of the option buttons work as in a dialog.
int runMessageLoop(PreviewedWindow (*windowsOf)(void* context, int which), void* context,
                   int windowCount);

}  // namespace orvel::win32
