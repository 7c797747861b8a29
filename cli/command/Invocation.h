// What the command line asks for, once it has been read and checked.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvel::cli {

enum class Command { Show, Apply, Restore, FeaturesPage, Decode, Printers, Help, Version };

struct Invocation {
    Command command = Command::Help;
    // The profile (show, apply) or the job (decode); "-" is standard input.
    std::optional<std::string> file;
    // The -d printers in the order given; none: the default printer.
    std::vector<std::string> printers;
    std::optional<std::string> server;  // -h
    std::optional<std::string> output;  // -o; "-" is standard output
    bool encrypt = false;               // -E
    std::optional<std::string> user;    // -U
    bool json = false;                  // --json
    std::optional<int> waitSeconds;     // --wait[=SECONDS]
};

// --wait without SECONDS, and the most it takes.
constexpr int kDefaultWaitSeconds = 60;
constexpr int kMaxWaitSeconds = 600;

}  // namespace orvel::cli
