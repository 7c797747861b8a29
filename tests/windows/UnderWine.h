// What the tests of the Windows build share: one wine prefix for the whole run, booted before the
// first test and shut down after the last, a private CUPS scheduler per test, and the two builds
// of orvel-settings, the Windows one run under wine and the Linux one run as it is, both in the
// same working folder and environment so that their answers can be compared word for word.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/cups/CupsSandbox.h"
#include "tests/support/ByteList.h"
#include "tests/windows/BoundedProcess.h"

namespace orvel::test {

struct ProgramAnswer {
    int exitCode = -1;
    bool timedOut = false;
    std::string out;
    std::string err;
    std::chrono::duration<double> elapsed{};
};

class UnderWine : public testing::Test {
protected:
    static constexpr char kQueue[] = "Orvel";
    static constexpr char kSecondQueue[] = "Second";

    void SetUp() override;

    // Starts the scheduler with kQueue, its default, and kSecondQueue.
    void startWithQueues();

    // The Windows build under wine. Its standard streams are in text mode, so that each line
    // ends in CR LF: the answer has plain line ends, as the Linux build writes them.
    ProgramAnswer runWindows(const std::vector<std::string>& arguments) const;
    // The same, with the bytes of the standard output as they came.
    ProgramAnswer runWindowsRaw(const std::vector<std::string>& arguments) const;
    ProgramAnswer runLinux(const std::vector<std::string>& arguments) const;
    // Both builds with the same arguments at the same time: the Windows build's answer first.
    // Never two Windows programs at once: wine mixes up the jobs of programs that print at the
    // same moment in one prefix.
    std::pair<ProgramAnswer, ProgramAnswer> runBoth(
        const std::vector<std::string>& arguments) const;

    // A file in the working folder of both builds; the name given is how both reach it.
    std::string writeFile(const std::string& name, const std::string& bytes) const;
    std::string readFile(const std::string& name) const;

    void expectNothingArrived(const std::vector<std::string>& queues) const;

    std::optional<CupsSandbox> sandbox;
};

// Everything the tests print about a run, for a failed expectation.
std::string shown(const ProgramAnswer& answer);

}  // namespace orvel::test
