// Reads the command line into an Invocation, or into the one-line reason it is not one. Nothing
// is read from files and no spooler is asked here: every word is checked before anything runs.
#pragma once

#include <string>
#include <vector>

#include "cli/command/Invocation.h"

namespace orvel::cli {

// Longer names are no printer or server that a spooler accepts.
constexpr std::size_t kMaxNameBytes = 255;

struct CommandLineReading {
    Invocation invocation;
    std::string error;  // empty: the command line is good

    bool ok() const { return error.empty(); }
};

class CommandLine {
public:
    // arguments: the words after the program's name.
    static CommandLineReading read(const std::vector<std::string>& arguments);
};

}  // namespace orvel::cli
