// What the whole printer application shares while its server runs: its folders, whether it is
// open to the network, and each printer's stored settings.
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "printerapp/server/PamLogin.h"
#include "printerapp/settings/VendorAttributes.h"

namespace orvel::printerapp {

inline constexpr char kNativeFormat[] = "application/vnd.varnet-orvel-escp";
inline constexpr char kDriverName[] = "varnet-orvel";
inline constexpr char kMakeAndModel[] = "Varnet Orvel";

struct AppContext {
    std::string stateFolder;    // printers, settings, the framework's state
    std::string spoolFolder;    // jobs while they wait
    std::string runtimeFolder;  // the server's socket
    std::string captureFolder;  // where the capture device writes; empty: no capture device
    bool remoteAdmin = false;
    PamLogin adminLogin;  // group empty: no administration by login

    std::mutex lock;                         // guards what follows
    std::map<int, StoredSettings> settings;  // by printer id

    std::string settingsPath(int printerId) const;
    StoredSettings storedSettings(int printerId);
    bool storeSettings(int printerId, const StoredSettings& stored);
};

// The one context of the running server; set up before the framework starts.
AppContext& appContext();

}  // namespace orvel::printerapp
