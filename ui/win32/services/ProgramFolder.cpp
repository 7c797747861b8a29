#include "ui/win32/services/ProgramFolder.h"

#include <windows.h>

#include <vector>

namespace orvel::win32 {

namespace {

// The longest path the system hands out.
constexpr DWORD kMaxPath = 32768;

std::string programFile() {
    for (DWORD size = MAX_PATH; size <= kMaxPath; size *= 2) {
        std::vector<char> buffer(size);
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), size);
        if (length == 0)
            return {};
        // A full buffer means the name was cut short.
        if (length < size)
            return std::string(buffer.data(), length);
    }
    return {};
}

}  // namespace

std::string programFolder() {
    const std::string file = programFile();
    const size_t separator = file.find_last_of('\\');
    if (separator == std::string::npos)
        return {};
    // "C:\program.exe" lies in "C:\", whose backslash belongs to the folder.
    const bool driveRoot = separator == 2 && file[1] == ':';
    return file.substr(0, driveRoot ? separator + 1 : separator);
}

std::string pictureFile(const std::string& folder, const char* literal) {
    return folder + literal;
}

}  // namespace orvel::win32
