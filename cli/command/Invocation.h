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
};

}  // namespace orvel::cli
