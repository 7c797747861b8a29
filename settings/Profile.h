// Profiles: the nineteen settings kept in a text file of "Caption: Choice" lines, the window's own
// captions and choice texts, so that a set of settings can be kept, read by a person and applied
// again. The same lines are what the job decoder prints for a settings job.
//
// Reading rules: captions and choices match ignoring case and surrounding blanks; blank lines
// and lines whose first non-blank character is '#' are ignored; an optional "Model: Domestic" or
// "Model: Export" applies that model's preset first, wherever the line stands; then every named
// setting takes its choice; settings not named keep their defaults (after the preset). Every
// combination is accepted: a box that a governing box disables still holds and encodes a value.
// A profile that names neither a setting nor the model is refused.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "settings/SettingsModel.h"
#include "settings/SettingsTable.h"

namespace orvel {

// No profile comes near this; anything larger is not one.
constexpr std::size_t kMaxProfileBytes = 64 * 1024;

// The caption of the model line, beside the nineteen settings' captions.
inline constexpr char kModelCaption[] = "Model";

struct ProfileSetting {
    Setting setting;
    int choice;
    int line;  // 1-based, where the profile names it
};

struct Profile {
    Model model = Model::None;  // None: the profile has no model line
    std::vector<ProfileSetting> settings;
};

struct ProfileReading {
    Profile profile;
    // One line each, "SOURCE:LINE: what is wrong", in the order of the lines.
    std::vector<std::string> errors;

    bool ok() const { return errors.empty(); }
};

// Reads a profile's text; source names it in the errors (the file name).
ProfileReading readProfile(const std::string& text, const std::string& source);

// The nineteen selections that a profile stores: the defaults, the model's preset, the named
// settings. The same rules as the window's, through its model.
Selections profileSelections(const Profile& profile);

// A profile that stores exactly these selections: the nineteen "Caption: Choice" lines in
// display order.
std::vector<std::string> profileLines(const Selections& selections);

}  // namespace orvel
