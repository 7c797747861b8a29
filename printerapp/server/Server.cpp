#include "printerapp/server/Server.h"

#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include <pappl/pappl.h>

#include "printerapp/driver/Driver.h"
#include "printerapp/server/AppContext.h"
#include "printerapp/server/Devices.h"
#include "printerapp/settings/SettingsService.h"

namespace orvel::printerapp {
namespace {

constexpr char kAppName[] = "orvel-printer-app";

std::string userFolder(const char* variable, const std::string& fallbackUnderHome) {
    if (const char* value = std::getenv(variable); value && *value == '/')
        return value;
    const char* home = std::getenv("HOME");
    if (!home || *home != '/') {
        const passwd* user = ::getpwuid(::getuid());
        home = user ? user->pw_dir : "/tmp";
    }
    return std::string(home) + "/" + fallbackUnderHome;
}

pappl_loglevel_t logLevelOf(const std::string& name) {
    if (name == "debug")
        return PAPPL_LOGLEVEL_DEBUG;
    if (name == "info")
        return PAPPL_LOGLEVEL_INFO;
    if (name == "error")
        return PAPPL_LOGLEVEL_ERROR;
    if (name == "fatal")
        return PAPPL_LOGLEVEL_FATAL;
    return PAPPL_LOGLEVEL_WARN;
}

// Whether a server already answers on the socket; a socket file that nobody answers is stale.
bool socketAnswers(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    const bool answers = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return answers;
}

void createPrinterCallback(pappl_printer_t* printer, void*) {
    settingsForNewPrinter(printer);
}

}  // namespace

std::string defaultStateFolder() {
    return ::getuid() == 0 ? std::string("/var/lib/") + kAppName
                           : userFolder("XDG_STATE_HOME", ".local/state") + "/" + kAppName;
}

std::string defaultSpoolFolder() {
    return ::getuid() == 0 ? std::string("/var/spool/") + kAppName
                           : userFolder("XDG_CACHE_HOME", ".cache") + "/" + kAppName;
}

std::string defaultRuntimeFolder() {
    if (::getuid() == 0)
        return std::string("/run/") + kAppName;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime == '/')
        return std::string(runtime) + "/" + kAppName;
    return "/tmp/" + std::string(kAppName) + "-" + std::to_string(::getuid());
}

std::string socketPath(const std::string& runtimeFolder) {
    return runtimeFolder + "/" + kAppName + ".sock";
}

std::string prepareOwnFolder(const std::string& path, unsigned mode) {
    if (path.empty() || path[0] != '/')
        return path + ": not an absolute path";
    if (::mkdir(path.c_str(), mode) != 0 && errno != EEXIST)
        return path + ": " + std::strerror(errno);
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0)
        return path + ": " + std::strerror(errno);
    if (!S_ISDIR(info.st_mode))
        return path + ": not a folder";
    if (info.st_uid != ::getuid())
        return path + ": owned by another user";
    if (info.st_mode & (S_IWGRP | S_IWOTH))
        return path + ": writable by other users";
    return "";
}

int runServer(const ServerOptions& options) {
    AppContext& context = appContext();
    context.stateFolder = options.stateFolder.empty() ? defaultStateFolder() : options.stateFolder;
    context.spoolFolder = options.spoolFolder.empty() ? defaultSpoolFolder() : options.spoolFolder;
    context.runtimeFolder =
        options.runtimeFolder.empty() ? defaultRuntimeFolder() : options.runtimeFolder;
    context.captureFolder = options.captureFolder;
    context.remoteAdmin = options.remote;
    context.adminLogin = {options.pamService, options.pamConfigFolder, options.adminGroup};
    if (!options.adminGroup.empty() && !groupExists(options.adminGroup)) {
        std::cerr << kAppName << ": no group \"" << options.adminGroup << "\"\n";
        return 1;
    }

    for (const auto& [folder, mode] :
         {std::pair{context.stateFolder, 0700u}, std::pair{context.spoolFolder, 0700u},
          std::pair{context.runtimeFolder, 0700u}}) {
        const std::string error = prepareOwnFolder(folder, mode);
        if (!error.empty()) {
            std::cerr << kAppName << ": " << error << "\n";
            return 1;
        }
    }
    const std::string socket = socketPath(context.runtimeFolder);
    if (socketAnswers(socket)) {
        std::cerr << kAppName << ": a server already runs on " << socket << "\n";
        return 1;
    }
    ::unlink(socket.c_str());

    // Before the system: it lists the device schemes it accepts when it is created.
    addDeviceSchemes(context.captureFolder);
    pappl_soptions_t soptions = PAPPL_SOPTIONS_MULTI_QUEUE | PAPPL_SOPTIONS_WEB_INTERFACE |
                                PAPPL_SOPTIONS_WEB_LOG | PAPPL_SOPTIONS_WEB_SECURITY;
    soptions |= options.remote ? PAPPL_SOPTIONS_WEB_REMOTE : PAPPL_SOPTIONS_NO_TLS;
    pappl_system_t* system =
        papplSystemCreate(soptions, "Varnet Orvel Printer Application", options.port,
                          "_print,_universal", context.spoolFolder.c_str(), options.logFile.c_str(),
                          logLevelOf(options.logLevel), nullptr, false);
    if (!system) {
        std::cerr << kAppName << ": unable to create the printer system\n";
        return 1;
    }
    const std::string stateFile = context.stateFolder + "/" + kAppName + ".state";
    int driverCount = 0;
    pappl_pr_driver_t* driverList = drivers(&driverCount);
    papplSystemSetPrinterDrivers(system, driverCount, driverList, nullptr, createPrinterCallback,
                                 driverCallback, nullptr);
    addDocumentFormats(system);
    installSettingsService(system);
    papplSystemLoadState(system, stateFile.c_str());
    // Listening beyond this machine only with a way to tell who asks.
    if (options.remote && options.adminGroup.empty()) {
        char password[256] = "";
        if (!papplSystemGetPassword(system, password, sizeof password) || !*password) {
            std::cerr << kAppName
                      << ": --remote needs an access password, set first on the web "
                         "interface's security page, or an administrators' group "
                         "(--admin-group)\n";
            papplSystemDelete(system);
            return 1;
        }
    }
    if (!options.remote)
        papplSystemSetHostName(system, "localhost");
    if (!papplSystemAddListeners(system, options.remote ? nullptr : "localhost") ||
        !papplSystemAddListeners(system, socket.c_str())) {
        std::cerr << kAppName << ": unable to listen on port " << options.port << " or " << socket
                  << "\n";
        papplSystemDelete(system);
        ::unlink(socket.c_str());
        return 1;
    }
    // The framework makes its socket writable by everyone; only the server's user may talk to
    // it, and the folder keeps everybody else out in any case.
    ::chmod(socket.c_str(), 0600);
    papplSystemSetSaveCallback(system, reinterpret_cast<pappl_save_cb_t>(papplSystemSaveState),
                               const_cast<char*>(stateFile.c_str()));
    // The framework's main loop notices a shutdown asked over IPP only when it wakes, which
    // may be half a minute later: a timer wakes it every second.
    papplSystemAddTimerCallback(
        system, 0, 1, [](pappl_system_t*, void*) { return true; }, nullptr);
    papplSystemRun(system);
    // Not deleted: the framework frees the system while its last client threads may still log
    // through it. The process ends right after; the system stays reachable until then.
    static pappl_system_t* const ended = system;
    (void)ended;
    ::unlink(socket.c_str());
    ::rmdir(context.runtimeFolder.c_str());
    return 0;
}

}  // namespace orvel::printerapp
