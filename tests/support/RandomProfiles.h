// Random selections of the nineteen boxes, and the profile that names them, for the tests that
// send, decode or read back whatever the window can reach.
#pragma once

#include <random>
#include <string>

#include "settings/Profile.h"
#include "settings/SettingsTable.h"

namespace orvel::test {

// Any choice of each box: every combination is reachable in the window, since a disabled box
// keeps its value.
inline Selections randomSelections(std::mt19937& random) {
    Selections selections{};
    for (const SettingInfo& info : settingsTable()) {
        const int count = static_cast<int>(info.choices.size());
        selections[index(info.id)] = std::uniform_int_distribution<int>(0, count - 1)(random);
    }
    return selections;
}

// A profile that names every setting, one line each, as the decoder writes them.
inline std::string profileText(const Selections& selections) {
    std::string text;
    for (const std::string& line : profileLines(selections))
        text += line + "\n";
    return text;
}

}  // namespace orvel::test
