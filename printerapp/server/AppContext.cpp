#include "printerapp/server/AppContext.h"

#include "printerapp/settings/SettingsStore.h"

namespace orvel::printerapp {

AppContext& appContext() {
    static AppContext context;
    return context;
}

std::string AppContext::settingsPath(int printerId) const {
    return stateFolder + "/printer-" + std::to_string(printerId) + ".settings";
}

StoredSettings AppContext::storedSettings(int printerId) {
    std::lock_guard<std::mutex> guard(lock);
    auto found = settings.find(printerId);
    if (found == settings.end())
        found = settings.emplace(printerId, loadSettings(settingsPath(printerId))).first;
    return found->second;
}

bool AppContext::storeSettings(int printerId, const StoredSettings& stored) {
    std::lock_guard<std::mutex> guard(lock);
    if (!saveSettings(settingsPath(printerId), stored))
        return false;
    settings[printerId] = stored;
    return true;
}

}  // namespace orvel::printerapp
