// What the two windows' views share on Windows: a top-level window of the fixed single border
// with its background painted beneath the controls, its pictures and picture buttons, the swap
// of a button's picture read from its file, and the focus kept across deactivation.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "ui/core/layout/Places.h"
#include "ui/core/view/WindowEvents.h"
#include "ui/win32/controls/PictureControl.h"

namespace orvel::win32 {

// What a view adds to the window's own handling.
class WindowHooks {
public:
    virtual ~WindowHooks() = default;
    // The message handled, with its result; nothing to leave it to the window.
    virtual std::optional<LRESULT> message(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Draws what lies on the background and is no control (a frame).
    virtual void paintOverBackground(HDC /*target*/) {}
};

class Win32Window {
public:
    Win32Window(WindowEvents& events, WindowHooks& hooks);
    ~Win32Window();
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    void createWindow(const WindowFrame& frame);
    void createPicture(const PicturePlace& place);
    void createPictureButton(const ButtonPlace& place);
    // The focus order and the stacking: the controls named first lie on top and come first
    // when Tab moves the focus; the rest follow in the order they were made. The first control
    // that takes the focus has it when the window is first activated. Centres the window.
    void controlsCreated(const std::vector<HWND>& focusOrder);
    // Destroys every control; the window itself and its background stay.
    void destroyControls();

    bool showButtonPicture(ButtonFace face, const std::string& path);
    void setButtonEnabled(ButtonFace face, bool enabled);
    void setPictureEnabled(Picture picture, bool enabled);
    void paintButton(ButtonFace face);
    void paintPicture(Picture picture);
    void showWindow();
    void hideWindow();

    HWND window() const { return window_; }
    WindowEvents& events() const { return events_; }
    // The background's picture as a brush, for what shows it through (transparent labels).
    HBRUSH backgroundBrush() const { return backgroundBrush_; }
    // The place of a control within the client area, in pixels.
    RECT placeOf(HWND control) const;
    HWND pictureWindow(Picture picture) const;
    // A child control; it lies in the order of the controls made, above those made before.
    void addControl(HWND control);

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    void activate(bool active);

    WindowEvents& events_;
    WindowHooks& hooks_;
    HWND window_ = nullptr;
    std::string windowName_;
    SIZE client_{};
    HBITMAP background_ = nullptr;
    HBRUSH backgroundBrush_ = nullptr;
    bool backgroundEnabled_ = true;
    std::map<Picture, PictureControl*> pictures_;
    std::map<ButtonFace, PictureControl*> buttons_;
    std::vector<HWND> controls_;
    // The control that had the focus when the window was last deactivated.
    HWND focus_ = nullptr;
};

// The window that a key message is for, if it is one of the program's, with its key preview.
struct PreviewedWindow {
    HWND window;
    KeyPreviewHandler* handler;
};
std::optional<PreviewedWindow> previewedWindowOf(HWND root);

}  // namespace orvel::win32
