#include "ui/win32/controls/Controls.h"

#include <cmath>
#include <map>
#include <utility>

namespace orvel::win32 {

namespace {

constexpr int kPointsPerInch = 72;
constexpr int kScreenDpi = 96;

HINSTANCE program() {
    return GetModuleHandleA(nullptr);
}

}  // namespace

RECT pixelRect(const TwipsRect& place) {
    const int left = pixels(place.left);
    const int top = pixels(place.top);
    return {left, top, left + pixels(place.width), top + pixels(place.height)};
}

HFONT fontOf(const FontLook& look) {
    static std::map<std::pair<double, bool>, HFONT> made;
    HFONT& font = made[{look.pointSize, look.bold}];
    if (font == nullptr) {
        // The height of the characters, not of the cell, as a point size means.
        const int height =
            -static_cast<int>(std::lround(look.pointSize * kScreenDpi / kPointsPerInch));
        font = CreateFontA(height, 0, 0, 0, look.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, kTypeface);
    }
    return font;
}

HBITMAP builtInPicture(const char* name) {
    return static_cast<HBITMAP>(
        LoadImageA(program(), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

SIZE bitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0)
        return {0, 0};
    return {info.bmWidth, std::abs(info.bmHeight)};
}

HWND createChild(HWND parent, const char* windowClass, const std::string& text, DWORD style,
                 DWORD extendedStyle, const RECT& place, int id, HFONT font) {
    HWND child = CreateWindowExA(
        extendedStyle, windowClass, text.c_str(), style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
        place.left, place.top, place.right - place.left, place.bottom - place.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), program(), nullptr);
    if (child != nullptr && font != nullptr)
        SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

DWORD fixedWindowStyle() {
    return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
}

void placeCentred(HWND window, int clientWidth, int clientHeight) {
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT screen{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
    const int left = screen.left + (screen.right - screen.left - width) / 2;
    const int top = screen.top + (screen.bottom - screen.top - height) / 2;
    SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void registerWindowClass(const char* name, WNDPROC procedure) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = program();
    windowClass.hIcon =
        static_cast<HICON>(LoadImageA(program(), "printer_icon", IMAGE_ICON,
                                      GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    windowClass.hIconSm =
        static_cast<HICON>(LoadImageA(program(), "printer_icon", IMAGE_ICON, 16, 16, 0));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name;
    RegisterClassExA(&windowClass);
}

}  // namespace orvel::win32
