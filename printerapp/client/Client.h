// The sub-commands that talk to a running server over its socket, and the two that answer from
// the program itself (devices, drivers).
#pragma once

#include <string>
#include <vector>

namespace orvel::printerapp {

struct ClientOptions {
    std::string runtimeFolder;  // where the server's socket is
    std::string printer;        // -d
    std::string deviceUri;      // -v
    std::string driver;         // -m
    std::string format;         // -f, a document format
    std::vector<std::string> files;
};

int addPrinter(const ClientOptions& options);
int deletePrinter(const ClientOptions& options);
int listPrinters(const ClientOptions& options);
int submitFiles(const ClientOptions& options);
int showStatus(const ClientOptions& options);
int shutdownServer(const ClientOptions& options);
int listDevices();
int listDrivers();

}  // namespace orvel::printerapp
