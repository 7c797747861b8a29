// What the two windows build their controls with: twips turned into pixels, the typeface, the
// built-in pictures, child windows at their places.
#pragma once

#include <windows.h>

#include <string>

namespace orvel::win32 {

// 15 twips to the pixel at 96 dots per inch; the program runs unaware of the screen's density,
// so a pixel is always a 96 dpi pixel to it.
constexpr int kTwipsPerPixel = 15;

// Whole pixels, rounded to the nearest.
constexpr int pixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// A place within a client area in twips: Left, Top, Width, Height.
struct Twips {
    int left;
    int top;
    int width;
    int height;
};

RECT pixelRect(const Twips& place);

// Verdana at the point size, or the system's stand-in where it is missing. Made once each.
constexpr double kControlPointSize = 8.25;
constexpr double kFeaturesPointSize = 9.75;
HFONT verdana(double points, bool bold = false);

// A picture built into the program file (a bitmap resource of that name); the caller owns it.
HBITMAP builtInPicture(const char* name);
SIZE bitmapSize(HBITMAP bitmap);

// A child window at its place, with the control font.
HWND createChild(HWND parent, const char* windowClass, const std::string& text, DWORD style,
                 DWORD extendedStyle, const RECT& place, int id, HFONT font);

// A top-level window of the fixed single border, minimize but no maximize, whose client area is
// the size given, centred on the screen's work area.
DWORD fixedWindowStyle();
void placeCentred(HWND window, int clientWidth, int clientHeight);

// The window's class: the program's icon, the arrow pointer, no background of its own.
void registerWindowClass(const char* name, WNDPROC procedure);

}  // namespace orvel::win32
