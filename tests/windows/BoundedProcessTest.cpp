// The runner that every wine program goes through: a program that hangs is killed with what it
// started, and a daemon that keeps its output open does not hold the caller up.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "tests/windows/BoundedProcess.h"

namespace orvel::test {
namespace {

using namespace std::chrono_literals;

ProcessResult shell(const std::string& script, std::chrono::milliseconds timeout = 10s) {
    ProcessRequest request;
    request.arguments = {"/bin/sh", "-c", script};
    request.timeout = timeout;
    return BoundedProcess::run(request);
}

// A killed process that nobody has reaped yet is a zombie: it no longer runs.
bool running(const std::string& pidText) {
    std::ifstream status("/proc/" + pidText + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("State:", 0) == 0)
            return line.find('Z') == std::string::npos && line.find('X') == std::string::npos;
    }
    return false;
}

TEST(BoundedProcess, KeepsBothOutputsAndTheExitStatus) {
    const ProcessResult result = shell("printf 'out\\n'; printf 'err\\n' >&2; exit 3");
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.out, "out\n");
    EXPECT_EQ(result.err, "err\n");
}

TEST(BoundedProcess, ChangesOnlyTheNamedVariablesOfTheEnvironment) {
    setenv("ORVEL_KEPT", "kept", 1);
    setenv("ORVEL_REMOVED", "there", 1);
    ProcessRequest request;
    request.arguments = {"/bin/sh", "-c",
                         "echo \"$ORVEL_KEPT ${ORVEL_REMOVED-unset} $ORVEL_ADDED\"; pwd"};
    request.environment = {{"ORVEL_REMOVED", std::nullopt}, {"ORVEL_ADDED", "added"}};
    request.workingFolder = "/tmp";
    const ProcessResult result = BoundedProcess::run(request);
    EXPECT_EQ(result.out, "kept unset added\n/tmp\n");
    unsetenv("ORVEL_KEPT");
    unsetenv("ORVEL_REMOVED");
}

TEST(BoundedProcess, KillsAProgramThatOutlivesItsDeadlineWithWhatItStarted) {
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult result = shell("sleep 30 & echo $!; sleep 30", 500ms);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_TRUE(result.timedOut);
    EXPECT_EQ(result.exitCode, -1);
    const std::string helper = result.out.substr(0, result.out.find('\n'));
    ASSERT_FALSE(helper.empty());
    // SIGKILL has been sent to the whole group; it takes effect within moments.
    for (int i = 0; i < 100 && running(helper); ++i)
        std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(running(helper)) << "pid " << helper;
}

TEST(BoundedProcess, AProgramWhoseCallerDiesIsKilled) {
    char folderTemplate[] = "/tmp/orvel-bounded.XXXXXX";
    ASSERT_NE(mkdtemp(folderTemplate), nullptr);
    const std::string pidFile = std::string(folderTemplate) + "/pid";
    const pid_t caller = fork();
    ASSERT_GE(caller, 0);
    if (caller == 0) {
        // Dies by the alarm's signal, long before the program's deadline.
        alarm(1);
        shell("echo $$ >" + pidFile + "; exec sleep 30", 60s);
        _exit(0);
    }
    int status = 0;
    waitpid(caller, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status));
    std::string program;
    std::ifstream(pidFile) >> program;
    ASSERT_FALSE(program.empty());
    for (int i = 0; i < 100 && running(program); ++i)
        std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(running(program)) << "pid " << program;
    std::filesystem::remove_all(folderTemplate);
}

TEST(BoundedProcess, EndsWithTheProgramThoughADaemonItStartedKeepsTheOutputOpen) {
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult result = shell("setsid sleep 3 & echo done", 10s);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "done\n");
}

TEST(BoundedProcess, KeepsNoMoreOutputThanItsCap) {
    const ProcessResult result = shell("head -c 3000000 /dev/zero");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.size(), BoundedProcess::kMaxOutputBytes);
}

}  // namespace
}  // namespace orvel::test
