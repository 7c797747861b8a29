// A wine prefix of its own for a test run: made in a private temporary folder, booted once,
// served by one wineserver that stays up until the end, then shut down and removed. Never the
// user's ~/.wine. Runs headless unless given an X display: then its programs show their windows
// on a virtual desktop of that display, with wine's own fonts.
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
    // With a display (":5"), the windows go to a 1024 x 768 virtual desktop there: without one,
    // with no window manager, hiding or closing a window stalls and keys go to whatever window
    // lies under the pointer. Wine's fonts are copied in, so that message boxes have theirs.
    explicit WinePrefix(const std::string& display = {});
    ~WinePrefix();
    WinePrefix(const WinePrefix&) = delete;
    WinePrefix& operator=(const WinePrefix&) = delete;

    // The prefix's own folder (WINEPREFIX).
    const std::string& prefixFolder() const { return prefix_; }
    // What a wine program of this prefix runs with, for a program started by other means.
    Environment environment() const { return wineEnvironment(); }
    static std::string loaderPath();

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
    void prepareDesktop();
    void shutDown();

    std::string folder_;
    std::string prefix_;
    std::string workFolder_;
    std::string display_;
    std::chrono::milliseconds bootTime_{0};
};

}  // namespace orvel::test
