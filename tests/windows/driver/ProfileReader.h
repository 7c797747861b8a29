// Reads the settings to apply from a profile: "Caption: Choice" lines in the window's own words,
// matched ignoring case and surrounding blanks; "Model: Domestic" or "Model: Export" applies that
// model's preset first; blank lines and lines starting with # are skipped. Settings that the
// profile does not name keep the defaults.
#pragma once

#include <string>

#include "settings/SettingsTable.h"

namespace orvel::windriver {

struct ProfileResult {
    bool ok = false;
    Selections selections{};
    std::string error;  // one line: the file, the line number and what is wrong there
};

class ProfileReader {
public:
    static constexpr size_t kMaxBytes = 64 * 1024;

    static ProfileResult defaults();
    static ProfileResult read(const std::string& path);
    static ProfileResult parse(const std::string& path, const std::string& text);
};

}  // namespace orvel::windriver
