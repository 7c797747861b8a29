// orvel-printer-app: the printer as a driverless IPP Everywhere printer, with its permanent
// settings on its web page and over IPP.
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "printerapp/client/Client.h"
#include "printerapp/server/Server.h"

namespace {

using orvel::printerapp::ClientOptions;
using orvel::printerapp::ServerOptions;

constexpr char kVersion[] = "1.00";

const char kHelp[] =
    "Usage: orvel-printer-app SUB-COMMAND [OPTIONS]\n"
    "\n"
    "The Varnet Orvel as a driverless IPP Everywhere printer.\n"
    "\n"
    "Sub-commands:\n"
    "  server        Run the printer application until it is shut down.\n"
    "  add           Add a printer: -d PRINTER -v DEVICE-URI [-m DRIVER].\n"
    "  delete        Delete a printer: -d PRINTER.\n"
    "  devices       List the printers connected to this machine.\n"
    "  drivers       List the drivers.\n"
    "  printers      List the printers of the running server.\n"
    "  submit        Print files: -d PRINTER [-f FORMAT] FILE...\n"
    "  status        Tell whether the server runs.\n"
    "  shutdown      Stop the running server.\n"
    "\n"
    "Server options:\n"
    "  -p, --port PORT          TCP port on localhost (8631).\n"
    "  --state FOLDER           Printers and their settings.\n"
    "  --spool FOLDER           Jobs while they wait.\n"
    "  --remote                 Listen on the network too (needs an access password,\n"
    "                           set first on the web interface's security page, or an\n"
    "                           administrators' group).\n"
    "  --admin-group GROUP      Members of GROUP may change the printer with their own\n"
    "                           user name and password, checked by PAM.\n"
    "  --pam-service NAME       The PAM service for that check (orvel-printer-app).\n"
    "  --pam-config FOLDER      PAM's configuration from FOLDER, not /etc/pam.d.\n"
    "  --capture FOLDER         Offer the capture:/ device, which writes each job to a file\n"
    "                           in FOLDER (for tests).\n"
    "  --log FILE               Log file, - for standard error.\n"
    "  --log-level LEVEL        debug, info, warn, error or fatal.\n"
    "\n"
    "Options of every sub-command:\n"
    "  --runtime FOLDER         The server's socket folder.\n"
    "  -h, --help               Show this help.\n"
    "  -V, --version            Show the version.\n"
    "\n"
    "Device URIs: usb://..., socket://HOST[:9100], parallel:/dev/lp0, capture:/\n";

int usageError(const std::string& message) {
    std::cerr << "orvel-printer-app: " << message << "\nTry 'orvel-printer-app --help'.\n";
    return 2;
}

bool validPort(const std::string& text, int& port) {
    if (text.empty() || text.size() > 5 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    port = std::atoi(text.c_str());
    return port > 0 && port < 65536;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& arg : args) {
        if (arg == "-h" || arg == "--help") {
            std::cout << kHelp;
            return 0;
        }
        if (arg == "-V" || arg == "--version") {
            std::cout << "orvel-printer-app " << kVersion << "\n";
            return 0;
        }
    }
    if (args.empty())
        return usageError("no sub-command");
    const std::string command = args[0];
    ServerOptions server;
    ClientOptions client;
    const std::map<std::string, std::string*> valued = {
        {"--state", &server.stateFolder},
        {"--spool", &server.spoolFolder},
        {"--capture", &server.captureFolder},
        {"--log", &server.logFile},
        {"--log-level", &server.logLevel},
        {"--admin-group", &server.adminGroup},
        {"--pam-service", &server.pamService},
        {"--pam-config", &server.pamConfigFolder},
        {"--runtime", &client.runtimeFolder},
        {"-d", &client.printer},
        {"-v", &client.deviceUri},
        {"-m", &client.driver},
        {"-f", &client.format},
    };
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--remote") {
            server.remote = true;
        } else if (arg == "-p" || arg == "--port") {
            if (i + 1 >= args.size() || !validPort(args[i + 1], server.port))
                return usageError(arg + " needs a port number from 1 to 65535");
            ++i;
        } else if (auto found = valued.find(arg); found != valued.end()) {
            if (i + 1 >= args.size())
                return usageError(arg + " needs a value");
            *found->second = args[++i];
        } else if (!arg.empty() && arg[0] == '-') {
            return usageError("unknown option " + arg);
        } else {
            client.files.push_back(arg);
        }
    }
    server.runtimeFolder = client.runtimeFolder;
    if (command != "submit" && !client.files.empty())
        return usageError("unexpected argument " + client.files[0]);

    using namespace orvel::printerapp;
    if (command == "server")
        return runServer(server);
    if (command == "add")
        return addPrinter(client);
    if (command == "delete")
        return deletePrinter(client);
    if (command == "devices")
        return listDevices();
    if (command == "drivers")
        return listDrivers();
    if (command == "printers")
        return listPrinters(client);
    if (command == "submit")
        return submitFiles(client);
    if (command == "status")
        return showStatus(client);
    if (command == "shutdown")
        return shutdownServer(client);
    return usageError("unknown sub-command " + command);
}
