// A picture control: shows a bitmap unscaled from its top left corner, reports pointer moves and
// button releases (as the buttons' codes, the shift state and the position in twips), and gets
// no pointer events while disabled. A picture button takes its picture's size; a picture box
// keeps its own and clips the picture.
#pragma once

#include <windows.h>

#include <functional>

namespace orvel::win32 {

// Button codes: 1 left, 2 right, 4 middle; shift state: 1 SHIFT, 2 CTRL, 4 ALT.
using MouseHandler = std::function<void(int Button, int Shift, float X, float Y)>;

class PictureControl {
public:
    enum class Sizing { TakesPictureSize, ClipsPicture };

    // The window class; registered once, before the first control.
    static void registerClass();
    // A control at its place within the parent; its window is destroyed with the parent.
    static PictureControl* create(HWND parent, const RECT& place, Sizing sizing, DWORD exStyle,
                                  const char* name);
    static PictureControl* of(HWND window);

    HWND window() const { return window_; }
    // Takes the bitmap (the control deletes it); repaints with it.
    void setPicture(HBITMAP picture);
    void setMouseMove(MouseHandler handler) { mouseMove_ = std::move(handler); }
    void setMouseUp(MouseHandler handler) { mouseUp_ = std::move(handler); }
    // What shows where the picture does not reach; none leaves the system's window colour.
    void setFill(HBRUSH brush, POINT origin) {
        fill_ = brush;
        fillOrigin_ = origin;
    }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    void mouseUp(int button, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    Sizing sizing_ = Sizing::TakesPictureSize;
    HBITMAP picture_ = nullptr;
    HBRUSH fill_ = nullptr;
    POINT fillOrigin_{};
    MouseHandler mouseMove_;
    MouseHandler mouseUp_;
};

// The shift state of a key or mouse event now: 1 SHIFT, 2 CTRL, 4 ALT, added up.
int shiftState();

}  // namespace orvel::win32
