// Runs a program to its end or to a deadline, whichever comes first, and keeps what it writes,
// up to a size. A program that outlives its deadline is killed with all it started in its group;
// one whose caller dies is killed too.
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace orvel::test {

struct ProcessResult {
    // The exit status; -1 when the program did not exit by itself (killed, or not started).
    int exitCode = -1;
    bool timedOut = false;
    std::string out;
    std::string err;
};

// Variables to set; std::nullopt removes the variable from the child's environment.
using Environment = std::map<std::string, std::optional<std::string>>;

struct ProcessRequest {
    std::vector<std::string> arguments;  // the program's path first
    std::string workingFolder;           // empty: this process's own
    Environment environment;
    std::chrono::milliseconds timeout{60000};
    // Whether to keep the output; otherwise it goes to /dev/null (for daemons that keep it).
    bool captureOutput = true;
};

// The child's environment: this process's, changed as asked; "NAME=value" strings.
std::vector<std::string> childEnvironment(const Environment& changes);

// The strings as the NULL-ended array of pointers that exec takes; they must outlive it.
std::vector<char*> pointersTo(std::vector<std::string>& texts);

class BoundedProcess {
public:
    // Each of the two outputs is kept up to this size; the rest is read and dropped.
    static constexpr size_t kMaxOutputBytes = 1024 * 1024;

    static ProcessResult run(const ProcessRequest& request);
};

}  // namespace orvel::test
