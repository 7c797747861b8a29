// What the two windows build their controls with: twips turned into pixels, the typeface, the
// built-in pictures, child windows at their places.
#pragma once

#include <windows.h>

#include <string>

#include "ui/core/layout/Geometry.h"

namespace orvel::win32 {

// A place within a client area in pixels: the program runs unaware of the screen's density, so
// a pixel is always a pixel of a 96 dpi screen, 15 twips.
RECT pixelRect(const TwipsRect& place);

// The windows' typeface at the font's size, or the system's stand-in where it is missing. Made
// once each.
HFONT fontOf(const FontLook& font);

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
