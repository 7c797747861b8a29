#include "printerapp/settings/VendorAttributes.h"

#include <algorithm>
#include <cctype>

namespace orvel::printerapp {

std::string keywordOf(const std::string& text) {
    std::string keyword;
    bool pendingDash = false;
    for (unsigned char c : text) {
        if (std::isalnum(c)) {
            if (pendingDash && !keyword.empty())
                keyword += '-';
            pendingDash = false;
            keyword += static_cast<char>(std::tolower(c));
        } else {
            pendingDash = true;
        }
    }
    return keyword;
}

const std::vector<VendorSetting>& vendorSettings() {
    static const std::vector<VendorSetting> table = [] {
        std::vector<VendorSetting> settings;
        for (const SettingInfo& info : settingsTable()) {
            VendorSetting vendor{info.id, kVendorPrefix + keywordOf(info.caption), {}};
            for (const std::string& choice : info.choices)
                vendor.keywords.push_back(keywordOf(choice));
            settings.push_back(vendor);
        }
        return settings;
    }();
    return table;
}

const VendorSetting& vendorSetting(Setting setting) {
    return vendorSettings()[index(setting)];
}

std::optional<Setting> settingOfAttribute(const std::string& name) {
    static const std::string kDefault = "-default";
    std::string base = name;
    if (base.size() > kDefault.size() &&
        base.compare(base.size() - kDefault.size(), kDefault.size(), kDefault) == 0)
        base.resize(base.size() - kDefault.size());
    for (const VendorSetting& vendor : vendorSettings())
        if (vendor.name == base)
            return vendor.setting;
    return std::nullopt;
}

int choiceOfKeyword(Setting setting, const std::string& keyword) {
    const auto& keywords = vendorSetting(setting).keywords;
    const auto found = std::find(keywords.begin(), keywords.end(), keyword);
    return found == keywords.end() ? -1 : static_cast<int>(found - keywords.begin());
}

StoredSettings defaultSettings() {
    SettingsModel model;
    model.IntializeSelectionBoxes();
    return {model.selections(), model.model()};
}

SettingsModel modelOf(const StoredSettings& stored) {
    SettingsModel model;
    model.IntializeSelectionBoxes();
    model.selectModel(stored.model);
    // The program's setter runs each governing box's rule, so the enabled states follow.
    for (int i = 0; i < kSettingCount; ++i)
        model.setSelection(settingAt(i), stored.selections[i]);
    return model;
}

namespace {

bool governs(Setting setting) {
    return setting == Setting::cboInterface || setting == Setting::cboCharTable ||
           setting == Setting::cboRollPaper;
}

}  // namespace

ChangeOutcome applyChanges(const StoredSettings& stored, std::optional<Model> model,
                           const std::vector<SettingChange>& changes) {
    SettingsModel settings = modelOf(stored);
    if (model && *model != Model::None) {
        // Choosing a model runs its preset, also when it is the model chosen before.
        if (settings.model() == *model) {
            if (*model == Model::OptDomestic)
                settings.OptDomestic_Click();
            else
                settings.OptExport_Click();
        } else {
            settings.selectModel(*model);
        }
    }
    ChangeOutcome outcome;
    for (bool governingPass : {true, false}) {
        for (const SettingChange& change : changes) {
            // A choice that a box already holds changes nothing, also in a disabled box.
            if (governs(change.setting) != governingPass ||
                settings.selection(change.setting) == change.choice)
                continue;
            if (!settings.userSelect(change.setting, change.choice)) {
                outcome.refused = change.setting;
                outcome.result = stored;
                return outcome;
            }
        }
    }
    outcome.accepted = true;
    outcome.result = {settings.selections(), settings.model()};
    return outcome;
}

}  // namespace orvel::printerapp
