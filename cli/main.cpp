// orvel-settings: the printer's permanent settings from the command line, as profiles, on any
// queue and on many printers at once.
#include <chrono>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "cli/command/HelpText.h"
#include "cli/command/Program.h"
#include "cli/io/Console.h"
#include "cli/io/Platform.h"
#include "cli/io/StandardStreams.h"

#ifdef _WIN32
#include "printer/win/WinQueueDirectory.h"
#include "printer/win/WinSpooler.h"
using SystemSpooler = orvel::WinSpooler;
using SystemQueues = orvel::WinQueueDirectory;
#else
#include <cups/cups.h>

#include <csignal>

#include "printer/cups/CupsQueueDirectory.h"
#include "printer/cups/CupsSpooler.h"
using SystemSpooler = orvel::CupsSpooler;
using SystemQueues = orvel::CupsQueueDirectory;
#endif

namespace {

orvel::cli::Platform systemPlatform() {
    orvel::cli::Platform platform;
    platform.newSpooler = [] { return std::make_unique<SystemSpooler>(); };
    platform.newQueueDirectory = [] { return std::make_unique<SystemQueues>(); };
#ifndef _WIN32
    // The spooler library keeps the server, the encryption and the user per thread. The usual
    // encryption (client.conf, CUPS_ENCRYPTION) as this thread finds it before any choice.
    static const http_encryption_t usualEncryption = cupsEncryption();
    platform.useScheduler = [](const orvel::cli::SchedulerChoice& scheduler) {
        cupsSetServer(scheduler.server ? scheduler.server->c_str() : nullptr);
        cupsSetEncryption(scheduler.encryptFromStart ? HTTP_ENCRYPTION_ALWAYS
                          : scheduler.encrypt        ? HTTP_ENCRYPTION_REQUIRED
                                                     : usualEncryption);
        cupsSetUser(scheduler.user ? scheduler.user->c_str() : nullptr);
    };
#endif
    platform.pause = [](int milliseconds) {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    };
    return platform;
}

}  // namespace

int main(int argc, char* argv[]) {
#ifndef _WIN32
    // A reader that goes away must not end the program halfway through a run of printers: the
    // writes to it fail instead, and every printer is still served.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    const orvel::cli::Platform platform = systemPlatform();
    orvel::cli::Console console(std::cout, std::cerr, orvel::cli::isTerminal(stderr));
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    int status = orvel::cli::Program(platform, console).run(arguments);
    std::cout.flush();
    if (!std::cout) {
        std::cerr << orvel::cli::kProgramName << ": cannot write to standard output\n";
        if (status == orvel::cli::kAllSent)
            status = orvel::cli::kNotAllSent;
    }
    return status;
}
