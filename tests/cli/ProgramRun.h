// Runs the built orvel-settings as a process, the way a script does, and keeps what it wrote.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvel::test {

struct ProgramRun {
    int status = -1;  // the exit status; -1 when it did not exit by itself
    std::string out;
    std::string err;
    std::chrono::duration<double> elapsed{};
};

struct ProgramInput {
    std::vector<std::string> arguments;
    std::optional<std::string> standardInput;  // the bytes; none: /dev/null
    // Set for the program only, on top of this process's environment; an empty value unsets.
    std::map<std::string, std::string> environment;
};

// Ends the program when it takes longer than this, so that a hang fails a test instead of
// holding the suite.
constexpr std::chrono::seconds kProgramTimeout{60};

ProgramRun runProgram(const ProgramInput& input);
// With at most openFiles files open at once, counting its standard streams: it inherits no other.
ProgramRun runProgram(const ProgramInput& input, unsigned openFiles);
ProgramRun runProgram(const std::vector<std::string>& arguments);

// The file's bytes; empty when there is none.
std::string fileBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

}  // namespace orvel::test
