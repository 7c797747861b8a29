// The server sub-command: the printer application's system in the framework, listening on
// localhost (and the network only when asked) and on a socket in a runtime folder of its own.
#pragma once

#include <string>

namespace orvel::printerapp {

struct ServerOptions {
    int port = 8631;
    std::string stateFolder;
    std::string spoolFolder;
    std::string runtimeFolder;
    std::string captureFolder;  // empty: no capture device
    std::string logFile = "-";  // "-": standard error
    std::string logLevel = "warn";
    bool remote = false;
    std::string adminGroup;  // members may administer by their own login (PAM)
    std::string pamService = "orvel-printer-app";
    std::string pamConfigFolder;  // empty: /etc/pam.d
};

// The folders used when none is given: the system's for root, the user's own otherwise.
std::string defaultStateFolder();
std::string defaultSpoolFolder();
std::string defaultRuntimeFolder();
// The server's socket in its runtime folder.
std::string socketPath(const std::string& runtimeFolder);

// Creates a folder for the server's own use, or checks one that exists: a real folder (not a
// link), owned by the server's user and writable by nobody else. Returns an error text, empty on
// success.
std::string prepareOwnFolder(const std::string& path, unsigned mode);

// Runs until shut down (a signal or the shutdown sub-command); returns the exit status.
int runServer(const ServerOptions& options);

}  // namespace orvel::printerapp
