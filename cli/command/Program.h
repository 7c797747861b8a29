// The command line's commands over the settings, the printer output and the decoder.
#pragma once

#include <string>
#include <vector>

#include "cli/command/Invocation.h"
#include "cli/fleet/PrinterJob.h"
#include "cli/io/Console.h"
#include "cli/io/Platform.h"
#include "printer/job/Spooler.h"
#include "settings/FlagSettings.h"

namespace orvel::cli {

// Exit statuses.
constexpr int kAllSent = 0;
constexpr int kNotAllSent = 1;  // also: a job that doesn't decode, a file not written
constexpr int kUsageError = 2;  // also: a profile error; nothing was sent

class Program {
public:
    Program(const Platform& platform, Console& console);

    // arguments: the words after the program's name.
    int run(const std::vector<std::string>& arguments);

private:
    void tell(const std::string& error);
    int usageError(const std::string& error);
    int failure(const std::string& error);

    int show(const Invocation& invocation);
    int apply(const Invocation& invocation);
    int deliver(const Invocation& invocation, const PrinterJob& job);
    int decode(const Invocation& invocation);
    int printers(const Invocation& invocation);

    // The block that the profile (the defaults without one) stores; false after a profile error,
    // which has been told.
    bool readSettings(const Invocation& invocation, FlagSettings& block);

    const Platform& platform_;
    Console& console_;
};

}  // namespace orvel::cli
