// The settings last stored through the printer application, kept per printer in a file of its
// state folder in the profile format ("Model: Export", then "Caption: Choice" lines). The printer
// itself is never read: this file is what the settings page and attributes show.
#pragma once

#include <string>

#include "printerapp/settings/VendorAttributes.h"

namespace orvel::printerapp {

// The stored settings, or the defaults when the file is missing or unreadable.
StoredSettings loadSettings(const std::string& path);

// Writes the file anew (a temporary file renamed over it, so that a crash leaves the old or the
// new, never half of one), readable by its owner only. Returns whether it was written.
bool saveSettings(const std::string& path, const StoredSettings& settings);

}  // namespace orvel::printerapp
