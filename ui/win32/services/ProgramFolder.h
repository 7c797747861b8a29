// The folder that holds the program file, where the button bitmaps lie.
#pragma once

#include <string>

namespace orvel::win32 {

// The running program's folder as the system reports it, without a trailing backslash except
// where the path is a drive's root ("C:\"). Empty when the system does not say.
std::string programFolder();

// The picture literals begin with a backslash and are appended as they are: a folder that ends
// with a backslash gives two in a row, and that path is used unchanged.
std::string pictureFile(const std::string& folder, const char* literal);

}  // namespace orvel::win32
