#include "ui/win32/windows/KeyPreview.h"

#include "ui/win32/controls/PictureControl.h"

namespace orvel::win32 {

namespace {

// Whether the message is taken by the preview and must not reach the control.
bool preview(MSG& message, KeyPreviewHandler& handler, HWND window) {
    switch (message.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            int KeyCode = static_cast<int>(message.wParam);
            int Shift = shiftState();
            handler.keyDown(KeyCode, Shift);
            // A focused drop-down list would take ALT+F4 for itself: the window closes as asked.
            if (message.wParam == VK_F4 && Shift == 4) {
                PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
                return true;
            }
            return false;
        }
        case WM_CHAR: {
            int KeyAscii = static_cast<int>(message.wParam);
            handler.keyPress(KeyAscii);
            if (KeyAscii == 0)
                return true;
            message.wParam = static_cast<WPARAM>(KeyAscii);
            return false;
        }
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            int KeyCode = static_cast<int>(message.wParam);
            int Shift = shiftState();
            handler.keyUp(KeyCode, Shift);
            return false;
        }
        default:
            return false;
    }
}

}  // namespace

int runMessageLoop(PreviewedWindow (*windowsOf)(void* context, int which), void* context,
                   int windowCount) {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        bool taken = false;
        for (int i = 0; i < windowCount && root != nullptr && !taken; ++i) {
            const PreviewedWindow previewed = windowsOf(context, i);
            if (previewed.window == nullptr || previewed.window != root)
                continue;
            taken = preview(message, *previewed.handler, root) ||
                    // The window may be gone once its handler has run.
                    (IsWindow(root) && IsDialogMessageA(root, &message));
            root = nullptr;
        }
        if (taken)
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace orvel::win32
