#include "ui/win32/windows/KeyPreview.h"

#include <windows.h>

#include "ui/core/input/KeyState.h"
#include "ui/win32/controls/PictureControl.h"
#include "ui/win32/windows/Win32Window.h"

namespace orvel::win32 {

namespace {

// Whether the message is taken by the preview and must not reach the control.
bool preview(MSG& message, KeyPreviewHandler& handler, HWND window) {
    switch (message.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            int KeyCode = static_cast<int>(message.wParam);
            int Shift = shiftState();
            handler.Form_KeyDown(KeyCode, Shift);
            // A focused drop-down list would keep ALT+F4 for itself: the window closes as asked.
            if (message.wParam == VK_F4 && Shift == kAltMask) {
                PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
                return true;
            }
            return false;
        }
        case WM_CHAR: {
            int KeyAscii = static_cast<int>(message.wParam);
            handler.Form_KeyPress(KeyAscii);
            if (KeyAscii == 0)
                return true;
            message.wParam = static_cast<WPARAM>(KeyAscii);
            return false;
        }
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            int KeyCode = static_cast<int>(message.wParam);
            int Shift = shiftState();
            handler.Form_KeyUp(KeyCode, Shift);
            return false;
        }
        default:
            return false;
    }
}

// Whether the preview or the dialog keys took the message.
bool taken(MSG& message) {
    if (message.hwnd == nullptr)
        return false;
    HWND root = GetAncestor(message.hwnd, GA_ROOT);
    const std::optional<PreviewedWindow> window = previewedWindowOf(root);
    if (!window)
        return false;
    if (preview(message, *window->handler, root))
        return true;
    // The handler may have ended with the window gone.
    return IsWindow(root) && IsDialogMessageA(root, &message);
}

}  // namespace

int runMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (taken(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace orvel::win32
