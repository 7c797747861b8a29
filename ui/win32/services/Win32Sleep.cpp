#include "ui/win32/services/Win32Sleep.h"

#include <windows.h>

namespace orvel::win32 {

namespace {

// Painting, and the messages other programs send (a screen reader asking for a control's text)
// are handled; input is not.
void paintWhatNeedsIt() {
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    while (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
        DispatchMessageA(&message);
}

// Each pass takes what the window system has delivered so far; a pass that finds nothing ends.
bool dropPass(UINT first, UINT last) {
    MSG message;
    bool dropped = false;
    while (PeekMessageA(&message, nullptr, first, last, PM_REMOVE))
        dropped = true;
    return dropped;
}

}  // namespace

void Win32Sleep::sleep(int milliseconds) {
    if (milliseconds <= 0)
        return;
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    paintWhatNeedsIt();
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        // Wakes for painting and sent messages only; input stays queued until the pause is over.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now),
                                  QS_PAINT | QS_SENDMESSAGE);
        paintWhatNeedsIt();
    }
    discardQueuedInput();
}

namespace {
int holds = 0;
}  // namespace

void setInputHeld(bool held) {
    holds += held ? 1 : -1;
}

bool inputHeld() {
    return holds > 0;
}

void discardQueuedInput() {
    // A bound on the passes, should input keep coming faster than it is dropped.
    constexpr int kMaxPasses = 64;
    for (int pass = 0; pass < kMaxPasses; ++pass) {
        const bool keys = dropPass(WM_KEYFIRST, WM_KEYLAST);
        const bool mouse = dropPass(WM_MOUSEFIRST, WM_MOUSELAST);
        // Moves and clicks on a window's frame: its close button among them.
        const bool frame = dropPass(WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK);
        if (!keys && !mouse && !frame)
            return;
    }
}

}  // namespace orvel::win32
