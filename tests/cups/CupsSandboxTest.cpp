// The sandbox must never outlive the test process that started it, however that process ends.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "tests/cups/CupsSandbox.h"

namespace orvel::test {
namespace {

bool processRunning(const std::string& pid) {
    std::ifstream status("/proc/" + pid + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("State:", 0) == 0)
            return line.find('Z') == std::string::npos && line.find('X') == std::string::npos;
    }
    return false;  // gone
}

bool stopsWithin(const std::string& pid, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (processRunning(pid)) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

TEST(CupsSandbox, StopsItsSchedulerWhenTheProcessThatStartedItDiesWithoutCleaningUp) {
    const std::string why = CupsSandbox::whyUnavailable();
    if (!why.empty())
        GTEST_SKIP() << why;
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Like a test that crashes: start, tell where, and end without any destructor.
        close(pipeEnds[0]);
        auto* sandbox = new CupsSandbox;
        sandbox->start();
        const std::string folder = sandbox->folder() + "\n";
        if (write(pipeEnds[1], folder.data(), folder.size()) < 0)
            _exit(2);
        _exit(0);
    }
    close(pipeEnds[1]);
    std::string folder;
    char c;
    while (read(pipeEnds[0], &c, 1) == 1 && c != '\n')
        folder += c;
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_FALSE(folder.empty());

    std::string cupsdPid;
    std::ifstream(folder + "/cupsd.pid") >> cupsdPid;
    std::string watchdogPid;
    std::ifstream(folder + "/watch.pid") >> watchdogPid;
    ASSERT_FALSE(cupsdPid.empty());
    const bool stopped = stopsWithin(cupsdPid, std::chrono::seconds(7));
    EXPECT_TRUE(stopped);
    if (!stopped) {
        kill(std::stoi(cupsdPid), SIGTERM);  // leave nothing behind even so
    }
    if (!watchdogPid.empty()) {
        EXPECT_TRUE(stopsWithin(watchdogPid, std::chrono::seconds(2)));
    }
    CupsSandbox::removeFolder(folder);
}

}  // namespace
}  // namespace orvel::test
