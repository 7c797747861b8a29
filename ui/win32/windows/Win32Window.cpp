#include "ui/win32/windows/Win32Window.h"

#include <algorithm>

#include "ui/core/buttons/PictureTexts.h"
#include "ui/win32/controls/Controls.h"
#include "ui/win32/services/BitmapFile.h"

namespace orvel::win32 {

namespace {

// The program's windows and their key preview, while they exist.
std::map<HWND, KeyPreviewHandler*>& previewedWindows() {
    static std::map<HWND, KeyPreviewHandler*> windows;
    return windows;
}

// What a screen reader says for a picture: the words drawn in it.
std::string accessibleName(const PicturePlace& place, const std::string& windowName) {
    switch (place.picture) {
        case Picture::Banner:
            return picturetexts::kBanner;
        case Picture::Heading:
            return picturetexts::kFeaturesTitle;
        case Picture::Title:
            return windowName == "frmFeatures" ? picturetexts::kFeaturesTitle
                                               : picturetexts::kMainTitle;
        default:
            return {};
    }
}

}  // namespace

std::optional<PreviewedWindow> previewedWindowOf(HWND root) {
    const auto found = previewedWindows().find(root);
    if (found == previewedWindows().end())
        return std::nullopt;
    return PreviewedWindow{found->first, found->second};
}

Win32Window::Win32Window(WindowEvents& events, WindowHooks& hooks)
    : events_(events), hooks_(hooks) {}

Win32Window::~Win32Window() {
    if (window_ != nullptr)
        DestroyWindow(window_);
    if (backgroundBrush_ != nullptr)
        DeleteObject(backgroundBrush_);
    if (background_ != nullptr)
        DeleteObject(background_);
}

void Win32Window::createWindow(const WindowFrame& frame) {
    registerWindowClass(frame.name, &Win32Window::procedure);
    PictureControl::registerClass();
    windowName_ = frame.name;
    client_ = {pixels(frame.clientWidth), pixels(frame.clientHeight)};
    CreateWindowExA(0, frame.name, frame.caption, fixedWindowStyle(), CW_USEDEFAULT, CW_USEDEFAULT,
                    client_.cx, client_.cy, nullptr, nullptr, GetModuleHandleA(nullptr), this);
    // Without a window (no display to show it on) the program can do nothing: it says so, where
    // it can, and ends instead of going on with controls that have no window.
    if (window_ == nullptr) {
        MessageBoxA(nullptr, "The window could not be created.", frame.caption,
                    MB_OK | MB_ICONSTOP);
        ExitProcess(1);
    }
    previewedWindows()[window_] = &events_;
}

void Win32Window::createPicture(const PicturePlace& place) {
    if (place.picture == Picture::Background) {
        // The window paints its background itself, beneath every control; the moves over the
        // client area that no control covers are the background's.
        if (background_ == nullptr) {
            background_ = builtInPicture(place.builtIn);
            backgroundBrush_ = CreatePatternBrush(background_);
        }
        return;
    }
    const RECT rect = pixelRect(place.place);
    const auto sizing = place.sizing == PictureSizing::ClipsPicture
                            ? PictureControl::Sizing::ClipsPicture
                            : PictureControl::Sizing::TakesPictureSize;
    PictureControl* picture =
        PictureControl::create(window_, rect, sizing, place.sunkenBorder > 0 ? WS_EX_CLIENTEDGE : 0,
                               accessibleName(place, windowName_).c_str());
    // Where the picture does not reach, the background's picture goes on.
    picture->setFill(backgroundBrush_, {-rect.left, -rect.top});
    picture->setPicture(builtInPicture(place.builtIn));
    const Picture which = place.picture;
    picture->setMouseMove([this, which](int Button, int Shift, float X, float Y) {
        events_.picture_MouseMove(which, Button, Shift, X, Y);
    });
    pictures_[place.picture] = picture;
    addControl(picture->window());
}

void Win32Window::createPictureButton(const ButtonPlace& place) {
    const RECT rect = pixelRect(place.place);
    // The button's text is its command's name: what a screen reader says for it.
    PictureControl* button =
        PictureControl::create(window_, rect, PictureControl::Sizing::TakesPictureSize, 0,
                               facePictures(place.face).caption.c_str());
    button->setPicture(builtInPicture(builtInFace(place.face).c_str()));
    const ButtonFace face = place.face;
    button->setMouseUp([this, face](int Button, int Shift, float X, float Y) {
        events_.pictureButton_MouseUp(face, Button, Shift, X, Y);
    });
    button->setMouseMove([this, face](int Button, int Shift, float X, float Y) {
        events_.pictureButton_MouseMove(face, Button, Shift, X, Y);
    });
    buttons_[place.face] = button;
    addControl(button->window());
}

void Win32Window::addControl(HWND control) {
    controls_.push_back(control);
}

void Win32Window::controlsCreated(const std::vector<HWND>& focusOrder) {
    // The system's focus order is the stacking order, top first. The controls that take the
    // focus lie on top, in their order (no two of them overlap, and the banner, which covers
    // boxes, comes first); then every other control, the one made last on top.
    std::vector<HWND> topFirst = focusOrder;
    for (auto control = controls_.rbegin(); control != controls_.rend(); ++control) {
        if (std::find(focusOrder.begin(), focusOrder.end(), *control) == focusOrder.end())
            topFirst.push_back(*control);
    }
    for (HWND control : topFirst)
        SetWindowPos(control, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    focus_ = nullptr;
    for (HWND control : focusOrder) {
        if (GetWindowLongPtrA(control, GWL_STYLE) & WS_TABSTOP) {
            focus_ = control;
            break;
        }
    }
    placeCentred(window_, client_.cx, client_.cy);
}

void Win32Window::destroyControls() {
    for (HWND control : controls_)
        DestroyWindow(control);
    controls_.clear();
    pictures_.clear();
    buttons_.clear();
    focus_ = nullptr;
}

bool Win32Window::showButtonPicture(ButtonFace face, const std::string& path) {
    const auto button = buttons_.find(face);
    if (button == buttons_.end())
        return false;
    const PictureSize size = facePictures(face).size;
    HBITMAP picture = loadBitmapFile(path, size.width, size.height);
    if (picture == nullptr)
        return false;
    button->second->setPicture(picture);
    return true;
}

void Win32Window::setButtonEnabled(ButtonFace face, bool enabled) {
    const auto button = buttons_.find(face);
    if (button != buttons_.end())
        EnableWindow(button->second->window(), enabled);
}

void Win32Window::setPictureEnabled(Picture picture, bool enabled) {
    if (picture == Picture::Background) {
        backgroundEnabled_ = enabled;
        return;
    }
    if (HWND control = pictureWindow(picture))
        EnableWindow(control, enabled);
}

void Win32Window::paintButton(ButtonFace face) {
    const auto button = buttons_.find(face);
    if (button != buttons_.end())
        RedrawWindow(button->second->window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void Win32Window::paintPicture(Picture picture) {
    if (picture == Picture::Background) {
        RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        return;
    }
    HWND control = pictureWindow(picture);
    if (control == nullptr)
        return;
    if (IsWindowVisible(control)) {
        RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        return;
    }
    // A hidden picture paints nothing: paint what it uncovered.
    const RECT place = placeOf(control);
    RedrawWindow(window_, &place, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void Win32Window::showWindow() {
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    SetActiveWindow(window_);
    UpdateWindow(window_);
}

void Win32Window::hideWindow() {
    ShowWindow(window_, SW_HIDE);
}

RECT Win32Window::placeOf(HWND control) const {
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

HWND Win32Window::pictureWindow(Picture picture) const {
    const auto found = pictures_.find(picture);
    return found == pictures_.end() ? nullptr : found->second->window();
}

LRESULT CALLBACK Win32Window::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<Win32Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        previewedWindows().erase(window);
        self->window_ = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT Win32Window::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const std::optional<LRESULT> handled = hooks_.message(message, wParam, lParam))
        return *handled;
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            paint();
            return 0;
        case WM_MOUSEMOVE:
            // The client area that no control covers is the background picture.
            if (backgroundEnabled_) {
                const int x = static_cast<short>(LOWORD(lParam));
                const int y = static_cast<short>(HIWORD(lParam));
                events_.picture_MouseMove(Picture::Background, 0, shiftState(),
                                          static_cast<float>(x * kTwipsPerPixel),
                                          static_cast<float>(y * kTwipsPerPixel));
            }
            return 0;
        case WM_ACTIVATE:
            activate(LOWORD(wParam) != WA_INACTIVE);
            return 0;
        case WM_SYSCOMMAND:
            // The window has no menu: ALT alone would put it into menu mode, where the next letter
            // went to the system menu instead of the shortcuts, and ALT with a letter would beep.
            // ALT+Space still opens the system menu.
            if ((wParam & 0xFFF0) == SC_KEYMENU && lParam != ' ')
                return 0;
            break;
        case WM_CLOSE:
            // The window decides; a close that goes ahead leaves the rest to the window (the main
            // window ends the program, the features window has destroyed its controls).
            events_.closeRequested();
            return 0;
        default:
            break;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

void Win32Window::paint() {
    PAINTSTRUCT paint{};
    HDC target = BeginPaint(window_, &paint);
    if (background_ != nullptr) {
        HDC source = CreateCompatibleDC(target);
        HGDIOBJ previous = SelectObject(source, background_);
        // The background may be larger than the client area; the window cuts the excess off.
        BitBlt(target, 0, 0, client_.cx, client_.cy, source, 0, 0, SRCCOPY);
        SelectObject(source, previous);
        DeleteDC(source);
    }
    hooks_.paintOverBackground(target);
    EndPaint(window_, &paint);
}

void Win32Window::activate(bool active) {
    // A message box gives the focus back to the window, not to the control that had it.
    if (!active) {
        HWND focused = GetFocus();
        if (focused != nullptr && IsChild(window_, focused))
            focus_ = focused;
        return;
    }
    if (focus_ != nullptr && IsWindow(focus_) && IsWindowEnabled(focus_))
        SetFocus(focus_);
}

}  // namespace orvel::win32
