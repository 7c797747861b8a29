// A wine prefix of its own for a test run: made in a private temporary folder, booted once,
// served by one wineserver that stays up until the end, then shut down and removed. Never the
// user's ~/.wine. Runs headless: no X display is needed or used.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "tests/windows/BoundedProcess.h"

namespace orvel::test {

class WinePrefix {
public:
    // Empty when wine can run here; otherwise why not.
    static std::string whyUnavailable();

    // Makes and boots the prefix; throws std::runtime_error, with wine's output, when it can't.
    WinePrefix();
    ~WinePrefix();
    WinePrefix(const WinePrefix&) = delete;
    WinePrefix& operator=(const WinePrefix&) = delete;

    // Runs a Windows program with the given arguments, with the process's environment (so the
    // CUPS scheduler it names) and the working folder as its current folder.
    ProcessResult run(const std::string& program, const std::vector<std::string>& arguments,
                      std::chrono::milliseconds timeout = kRunTimeout) const;

    // A private folder for the files that the programs read; relative names reach it.
    const std::string& workFolder() const { return workFolder_; }
    // How long the boot took.
    std::chrono::milliseconds bootTime() const { return bootTime_; }

    static constexpr std::chrono::seconds kBootTimeout{240};
    static constexpr std::chrono::seconds kRunTimeout{60};
    static constexpr std::chrono::seconds kShutdownTimeout{20};
    // How long the server outlives the last program it served.
    static constexpr std::chrono::seconds kServerIdleTimeout{30};

private:
    ProcessResult runTool(const std::vector<std::string>& arguments, const Environment& extra,
                          std::chrono::milliseconds timeout, bool captureOutput = true) const;
    Environment wineEnvironment() const;
    void shutDown();

    std::string folder_;
    std::string prefix_;
    std::string workFolder_;
    std::chrono::milliseconds bootTime_{0};
};

}  // namespace orvel::test
