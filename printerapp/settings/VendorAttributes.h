// The nineteen permanent settings as the printer application's own IPP attributes: one keyword
// attribute per setting, named after its caption ("Page Length" is orvel-page-length), its
// values the choice texts made keywords ("3.67 Inch" is 3-67-inch, "Xon/Xoff " is xon-xoff).
// The printer answers NAME-default (the setting last stored) and NAME-supported (every choice)
// and takes NAME-default in Set-Printer-Attributes. Plain C++: no framework in it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "settings/SettingsModel.h"
#include "settings/SettingsTable.h"

namespace orvel::printerapp {

inline constexpr char kVendorPrefix[] = "orvel-";

struct VendorSetting {
    Setting setting;
    std::string name;                   // orvel-page-length
    std::vector<std::string> keywords;  // one per choice, in the choice order
};

// A text as an IPP keyword: lower case, every run of other characters one '-', none at the ends.
std::string keywordOf(const std::string& text);

// The nineteen, in display order.
const std::vector<VendorSetting>& vendorSettings();
const VendorSetting& vendorSetting(Setting setting);
// The setting of an attribute name with or without its -default; none for any other name.
std::optional<Setting> settingOfAttribute(const std::string& name);
// The choice of a keyword, -1 when the setting has no such choice.
int choiceOfKeyword(Setting setting, const std::string& keyword);

// The stored state behind the page and the attributes: the nineteen selections and the model
// whose preset was chosen last.
struct StoredSettings {
    Selections selections;
    Model model = Model::OptDomestic;
};

// The defaults, as after the window's start.
StoredSettings defaultSettings();

// The model that holds a stored state: every box and the interlocks' enabled states.
SettingsModel modelOf(const StoredSettings& stored);

struct SettingChange {
    Setting setting;
    int choice;
};

struct ChangeOutcome {
    bool accepted = false;
    std::optional<Setting> refused;  // the setting that could not take its choice
    StoredSettings result;
};

// Applies changes as a user would: the governing boxes first (so that one request may choose an
// interface and the baud rate it enables), then the rest, each refused when its box is disabled.
// A model, when given, applies its preset before the changes. Nothing changes when one is
// refused.
ChangeOutcome applyChanges(const StoredSettings& stored, std::optional<Model> model,
                           const std::vector<SettingChange>& changes);

}  // namespace orvel::printerapp
