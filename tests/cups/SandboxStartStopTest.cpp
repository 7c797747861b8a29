// The private scheduler's start and stop, run at the same time as each other on one folder, as a
// test harness and a demo in two terminals may: never two schedulers on one folder, and never one
// left running after a stop that came while a start was under way. And a job that its capture
// backend can never keep ends, rather than keep the queue busy for ever.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/cups/CupsSandbox.h"

namespace orvel::test {
namespace {

namespace fs = std::filesystem;

constexpr char kScript[] = ORVEL_CUPS_SANDBOX_SCRIPT;
constexpr char kQueue[] = "Orvel";
// The capture backend keeps no job bigger than this.
constexpr size_t kCaptureCap = 16 * 1024 * 1024;
constexpr std::chrono::seconds kCommandLimit{30};

// The schedulers that run on a folder's configuration, found by their command lines.
int schedulersOf(const std::string& folder) {
    const std::string configuration = folder + "/conf/cupsd.conf";
    int count = 0;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string pid = entry.path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::error_code error;
        if (!fs::equivalent(entry.path() / "exe", "/usr/sbin/cupsd", error))
            continue;
        std::ifstream file(entry.path() / "cmdline", std::ios::binary);
        std::string word;
        while (std::getline(file, word, '\0')) {
            if (word == configuration) {
                ++count;
                break;
            }
        }
    }
    return count;
}

// Starts the script with the words given; returns its process, or -1.
pid_t launch(const std::string& words) {
    const std::string command = "exec timeout -k 1 " + std::to_string(kCommandLimit.count()) + " " +
                                kScript + " " + words + " </dev/null >/dev/null 2>&1";
    const pid_t child = fork();
    if (child == 0) {
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return child;
}

bool succeeded(pid_t child) {
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

bool appearsWithin(const fs::path& path, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!fs::exists(path)) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class SandboxStartStop : public testing::Test {
protected:
    void SetUp() override {
        const std::string why = CupsSandbox::whyUnavailable();
        if (!why.empty())
            GTEST_SKIP() << why;
    }

    // Whatever a case left running is stopped before its folder goes.
    void stopAll(const CupsSandbox& sandbox) {
        std::system(
            (std::string(kScript) + " stop " + sandbox.folder() + " >/dev/null 2>&1").c_str());
    }
};

TEST_F(SandboxStartStop, TwoStartsAtOnceLeaveOneSchedulerAndOneOfThemFails) {
    for (int attempt = 1; attempt <= 3; ++attempt) {
        SCOPED_TRACE("attempt " + std::to_string(attempt));
        const CupsSandbox sandbox;
        const pid_t first = launch("start " + sandbox.folder());
        const pid_t second = launch("start " + sandbox.folder());
        const int started = int{succeeded(first)} + int{succeeded(second)};

        EXPECT_EQ(started, 1);
        EXPECT_EQ(schedulersOf(sandbox.folder()), 1);
        stopAll(sandbox);
    }
}

// The stop is given once the start has written the scheduler's configuration, before the
// scheduler runs: it must stop what that start starts.
TEST_F(SandboxStartStop, AStopGivenWhileAStartIsUnderWayLeavesNoSchedulerRunning) {
    for (int attempt = 1; attempt <= 5; ++attempt) {
        SCOPED_TRACE("attempt " + std::to_string(attempt));
        const CupsSandbox sandbox;
        const pid_t start = launch("start " + sandbox.folder());
        ASSERT_TRUE(appearsWithin(sandbox.folder() + "/conf/cupsd.conf", kCommandLimit));
        const bool stopped = succeeded(launch("stop " + sandbox.folder()));
        succeeded(start);

        EXPECT_TRUE(stopped);
        EXPECT_EQ(schedulersOf(sandbox.folder()), 0);
        stopAll(sandbox);
    }
}

// A job the backend refuses for its size ends (cancelled), nothing of it is kept, and the queue
// goes on taking and printing jobs.
TEST_F(SandboxStartStop, AJobOverTheCaptureCapEndsAndTheQueueGoesOn) {
    CupsSandbox sandbox;
    sandbox.start();
    sandbox.addQueue(kQueue, true);
    const std::string bigJob = sandbox.folder() + "/big.job";
    {
        std::ofstream file(bigJob, std::ios::binary);
        file << std::string(kCaptureCap + 1, 'x');
    }
    ASSERT_EQ(std::system(("timeout -k 1 30 lp -d " + std::string(kQueue) + " -o raw " + bigJob +
                           " </dev/null >/dev/null 2>&1")
                              .c_str()),
              0);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (!sandbox.activeJobs(kQueue).empty() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(sandbox.activeJobs(kQueue).empty()) << "the refused job is still in the queue";
    EXPECT_TRUE(sandbox.capturedJobs(kQueue).empty());

    ASSERT_EQ(std::system(("printf after | timeout -k 1 30 lp -d " + std::string(kQueue) +
                           " -o raw >/dev/null 2>&1")
                              .c_str()),
              0);
    ASSERT_EQ(sandbox.waitForCompletedJobs(kQueue, 2).size(), 2u);
    EXPECT_EQ(sandbox.capturedJobs(kQueue), std::vector<Bytes>{"after"});
}

}  // namespace
}  // namespace orvel::test
