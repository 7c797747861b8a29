// Reading a button picture from a BMP file, anew at every call.
#pragma once

#include <windows.h>

#include <string>

namespace orvel::win32 {

// No button picture comes near this; a larger file is no button picture and is not read.
constexpr DWORD kMaxBitmapFileBytes = 1 << 20;

// A bitmap from a BMP file of exactly the given size whose pixels lie whole in the file; nullptr
// when the file is missing, no regular file, larger than the bound, damaged, of another kind or
// of another size. The caller owns the bitmap.
HBITMAP loadBitmapFile(const std::string& path, int width, int height);

// The same check on bytes already read: the bitmap, or nullptr.
HBITMAP bitmapFromBytes(const std::string& bytes, int width, int height);

}  // namespace orvel::win32
