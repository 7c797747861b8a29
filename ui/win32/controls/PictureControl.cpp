#include "ui/win32/controls/PictureControl.h"

#include <windowsx.h>

#include "ui/win32/controls/Controls.h"

namespace orvel::win32 {

namespace {

constexpr char kClassName[] = "OrvelPicture";
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

int heldButtons(WPARAM wParam) {
    return ((wParam & MK_LBUTTON) ? kLeftButton : 0) | ((wParam & MK_RBUTTON) ? kRightButton : 0) |
           ((wParam & MK_MBUTTON) ? kMiddleButton : 0);
}

float twipsOf(int pixel) {
    return static_cast<float>(pixel * kTwipsPerPixel);
}

}  // namespace

int shiftState() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

void PictureControl::registerClass() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &PictureControl::procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    RegisterClassExA(&windowClass);
}

PictureControl* PictureControl::create(HWND parent, const RECT& place, Sizing sizing, DWORD exStyle,
                                       const char* name) {
    auto* control = new PictureControl;
    control->sizing_ = sizing;
    // The name is the window's text: what a screen reader says for a picture button.
    HWND window =
        CreateWindowExA(exStyle, kClassName, name, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                        place.left, place.top, place.right - place.left, place.bottom - place.top,
                        parent, nullptr, GetModuleHandleA(nullptr), control);
    if (window == nullptr) {
        delete control;
        return nullptr;
    }
    return control;
}

PictureControl* PictureControl::of(HWND window) {
    return reinterpret_cast<PictureControl*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void PictureControl::setPicture(HBITMAP picture) {
    if (picture == nullptr)
        return;
    if (picture_ != nullptr)
        DeleteObject(picture_);
    picture_ = picture;
    if (sizing_ == Sizing::TakesPictureSize) {
        const SIZE size = bitmapSize(picture_);
        RECT frame{0, 0, size.cx, size.cy};
        AdjustWindowRectEx(&frame, 0, FALSE,
                           static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_EXSTYLE)));
        SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(window_, nullptr, FALSE);
}

LRESULT CALLBACK PictureControl::procedure(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* control =
            static_cast<PictureControl*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        control->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    }
    PictureControl* control = of(window);
    if (control == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    const LRESULT result = control->handle(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        if (control->picture_ != nullptr)
            DeleteObject(control->picture_);
        delete control;
    }
    return result;
}

LRESULT PictureControl::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint();
            return 0;
        case WM_MOUSEMOVE:
            if (mouseMove_)
                mouseMove_(heldButtons(wParam), shiftState(), twipsOf(GET_X_LPARAM(lParam)),
                           twipsOf(GET_Y_LPARAM(lParam)));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            // The release comes to the control that was pressed, wherever the pointer is then.
            SetCapture(window_);
            return 0;
        case WM_LBUTTONUP:
            mouseUp(kLeftButton, wParam, lParam);
            return 0;
        case WM_RBUTTONUP:
            mouseUp(kRightButton, wParam, lParam);
            return 0;
        case WM_MBUTTONUP:
            mouseUp(kMiddleButton, wParam, lParam);
            return 0;
        default:
            return DefWindowProcA(window_, message, wParam, lParam);
    }
}

void PictureControl::mouseUp(int button, WPARAM wParam, LPARAM lParam) {
    // Released only once no button is held any more.
    if (heldButtons(wParam) == 0 && GetCapture() == window_)
        ReleaseCapture();
    if (mouseUp_)
        mouseUp_(button, shiftState(), twipsOf(GET_X_LPARAM(lParam)),
                 twipsOf(GET_Y_LPARAM(lParam)));
}

void PictureControl::paint() {
    PAINTSTRUCT paint{};
    HDC target = BeginPaint(window_, &paint);
    RECT client{};
    GetClientRect(window_, &client);
    if (fill_ != nullptr) {
        SetBrushOrgEx(target, fillOrigin_.x, fillOrigin_.y, nullptr);
        FillRect(target, &client, fill_);
    } else {
        FillRect(target, &client, GetSysColorBrush(COLOR_WINDOW));
    }
    if (picture_ != nullptr) {
        HDC source = CreateCompatibleDC(target);
        HGDIOBJ previous = SelectObject(source, picture_);
        const SIZE size = bitmapSize(picture_);
        BitBlt(target, 0, 0, size.cx, size.cy, source, 0, 0, SRCCOPY);
        SelectObject(source, previous);
        DeleteDC(source);
    }
    EndPaint(window_, &paint);
}

}  // namespace orvel::win32
