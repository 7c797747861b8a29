// The private scheduler runs as root while tests and demos use it: no other local user may get
// anything out of it beyond what the user it was started for allows, its capture backend writes
// nowhere but its queue's folder, and stopping it signals nothing but its own scheduler.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/cups/CupsSandbox.h"

namespace orvel::test {
namespace {

namespace fs = std::filesystem;

constexpr char kQueue[] = "Orvel";
// Exists on every Debian system and is nobody's login.
constexpr char kSecondUser[] = "daemon";
constexpr size_t kMaxOutput = 64 * 1024;

struct CommandResult {
    bool succeeded = false;
    std::string output;
};

// Runs a shell command as root, bounded in time, and keeps what it prints.
CommandResult runShell(const std::string& command) {
    FILE* pipe = popen(("timeout -k 1 20 " + command + " </dev/null 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return {};
    CommandResult result;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr && result.output.size() < kMaxOutput)
        result.output += buffer;
    result.succeeded = pclose(pipe) == 0;
    return result;
}

class SandboxConfinement : public testing::Test {
protected:
    void SetUp() override {
        const std::string why = CupsSandbox::whyUnavailable();
        if (!why.empty())
            GTEST_SKIP() << why;
        for (const char* user : {"nobody", kSecondUser}) {
            if (getpwnam(user) == nullptr)
                GTEST_SKIP() << "no user " << user << " here";
        }
        sandbox.emplace();
    }

    // As that user, in a session of its own (no terminal to ask a password on), pointed at the
    // sandbox's socket.
    CommandResult runAs(const std::string& user, const std::string& command) {
        setenv("ORVEL_AS_USER",
               ("export CUPS_SERVER=" + sandbox->socket() + "; " + command).c_str(), 1);
        const CommandResult result =
            runShell("setsid -w su -s /bin/sh " + user +
                     " -c 'cd / && exec timeout -k 1 10 sh -c \"$ORVEL_AS_USER\"'");
        unsetenv("ORVEL_AS_USER");
        return result;
    }

    // A raw job of plain text, as root.
    void submit(const std::string& queue, const std::string& text) {
        const CommandResult result =
            runShell("sh -c \"printf %s '" + text + "' | lp -d " + queue + " -o raw\"");
        ASSERT_TRUE(result.succeeded) << result.output;
    }

    std::vector<Bytes> waitForCaptures(const std::string& queue, size_t count) {
        const auto deadline = std::chrono::steady_clock::now() + CupsSandbox::kJobTimeout;
        std::vector<Bytes> captured = sandbox->capturedJobs(queue);
        while (captured.size() < count && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            captured = sandbox->capturedJobs(queue);
        }
        return captured;
    }

    std::string devices() { return runShell("lpstat -v").output; }

    std::string ownDevice() {
        return "device for " + std::string(kQueue) + ": capture:" + sandbox->captureFolder(kQueue) +
               "\n";
    }

    pid_t schedulerPid() {
        pid_t pid = 0;
        std::ifstream(sandbox->folder() + "/cupsd.pid") >> pid;
        return pid;
    }

    std::optional<CupsSandbox> sandbox;
};

struct Attempt {
    std::string what;
    std::string user;
    std::string command;
    bool allowed;
};

void expectOutcomes(const std::vector<Attempt>& attempts,
                    const std::function<CommandResult(const Attempt&)>& attempt) {
    for (const Attempt& a : attempts) {
        SCOPED_TRACE(a.user + " tries to " + a.what);
        const CommandResult result = attempt(a);
        EXPECT_EQ(result.succeeded, a.allowed) << result.output;
    }
}

bool gone(pid_t pid, std::chrono::seconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (kill(pid, 0) == 0) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

TEST_F(SandboxConfinement, AnotherUserReachesNeitherTheSchedulerNorItsCaptures) {
    sandbox->start();
    sandbox->addQueue(kQueue, true);
    const std::string planted = sandbox->captureFolder(kQueue) + "/9.raw";
    const std::vector<Attempt> attempts = {
        {"list the queue", "nobody", "lpstat -p Orvel", false},
        {"submit a job", "nobody", "printf NOBODY | lp -d Orvel -o raw", false},
        {"add a queue", "nobody", "lpadmin -p Stray -v capture:/tmp/stray", false},
        {"change the queue's device", "nobody", "lpadmin -p Orvel -v capture:/tmp/stray", false},
        {"write into the capture folder", "nobody", "printf x >" + planted, false},
    };
    expectOutcomes(attempts, [&](const Attempt& a) { return runAs(a.user, a.command); });

    EXPECT_EQ(devices(), ownDevice());
    EXPECT_FALSE(fs::exists(fs::symlink_status(planted)));
    EXPECT_TRUE(sandbox->capturedJobs(kQueue).empty());
}

// Should the folders ever let another user through, the scheduler itself still refuses them
// everything but submitting and listing jobs: it knows who is at the other end of its socket.
TEST_F(SandboxConfinement, ThroughTheSocketAnotherUserMaySubmitAndListJobsButNothingMore) {
    sandbox->start();
    sandbox->addQueue(kQueue, true);
    const fs::path socketFolder = fs::path(sandbox->socket()).parent_path();
    for (const fs::path& folder : {fs::path(sandbox->folder()), socketFolder})
        fs::permissions(folder, fs::perms::others_exec, fs::perm_options::add);
    const std::vector<Attempt> attempts = {
        {"list the queue", "nobody", "lpstat -p Orvel", true},
        {"submit a job", "nobody", "printf NOBODY | lp -d Orvel -o raw", true},
        {"add a queue", "nobody", "lpadmin -p Stray -v capture:/tmp/stray", false},
        {"change the queue's device", "nobody", "lpadmin -p Orvel -v capture:/tmp/stray", false},
        {"remove the queue", "nobody", "lpadmin -x Orvel", false},
        {"stop the queue", "nobody", "cupsdisable Orvel", false},
        {"make the queue the default", "nobody", "lpadmin -d Orvel", false},
        {"cancel the queue's jobs", "nobody", "cancel -a Orvel", false},
        {"write into the capture folder", "nobody",
         "printf x >" + sandbox->captureFolder(kQueue) + "/9.raw", false},
    };
    expectOutcomes(attempts, [&](const Attempt& a) { return runAs(a.user, a.command); });

    EXPECT_EQ(devices(), ownDevice());
    EXPECT_NE(runShell("lpstat -p Orvel").output.find("enabled"), std::string::npos);
    EXPECT_EQ(waitForCaptures(kQueue, 1), std::vector<Bytes>{"NOBODY"});
}

// As under sudo: the user who started it prints to it, reads what arrived and may administer it;
// yet even that user writes no capture: only the backend does.
TEST_F(SandboxConfinement, TheUserItWasStartedForMayUseItAndNoOtherUserMay) {
    sandbox->startOnBehalfOf(getpwnam("nobody")->pw_uid);
    sandbox->addQueue(kQueue, true);
    const std::string captures = sandbox->captureFolder(kQueue);
    const std::vector<Attempt> attempts = {
        {"list the queue", "nobody", "lpstat -p Orvel", true},
        {"submit a job", "nobody", "printf NOBODY | lp -d Orvel -o raw", true},
        {"list the captures", "nobody", "ls " + captures, true},
        {"stop the queue", "nobody", "cupsdisable Orvel", true},
        {"start the queue again", "nobody", "cupsenable Orvel", true},
        {"write into the capture folder", "nobody", "printf x >" + captures + "/9.raw", false},
        {"list the queue", kSecondUser, "lpstat -p Orvel", false},
        {"submit a job", kSecondUser, "printf DAEMON | lp -d Orvel -o raw", false},
        {"add a queue", kSecondUser, "lpadmin -p Stray -v capture:/tmp/stray", false},
        {"list the captures", kSecondUser, "ls " + captures, false},
        {"write into the capture folder", kSecondUser, "printf x >" + captures + "/9.raw", false},
    };
    expectOutcomes(attempts, [&](const Attempt& a) { return runAs(a.user, a.command); });

    EXPECT_EQ(devices(), ownDevice());
    EXPECT_EQ(waitForCaptures(kQueue, 1), std::vector<Bytes>{"NOBODY"});
}

// A folder of root's outside any sandbox.
class ScratchFolder {
public:
    ScratchFolder() {
        char folderTemplate[] = "/tmp/orvel-scratch.XXXXXX";
        if (mkdtemp(folderTemplate) == nullptr)
            throw std::runtime_error("cannot make a folder");
        path = folderTemplate;
        std::ofstream(path / "kept") << "untouched";
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(path))
            names.push_back(entry.path().filename().string());
        return names;
    }

    fs::path path;
};

TEST_F(SandboxConfinement, TheBackendFollowsNoPlantedLinkAndKeepsEveryEarlierCapture) {
    sandbox->start();
    sandbox->addQueue(kQueue, true);
    const ScratchFolder outside;
    const fs::path captures = sandbox->captureFolder(kQueue);
    struct Planted {
        const char* name;
        std::optional<fs::path> linkTo;  // otherwise a capture of an earlier job with that id
    };
    const std::vector<Planted> planted = {
        {"1.raw", outside.path / "through-final-name"},
        {"2.raw", outside.path / "kept"},
        {"3.raw", std::nullopt},
    };
    for (const Planted& p : planted) {
        if (p.linkTo)
            fs::create_symlink(*p.linkTo, captures / p.name);
        else
            std::ofstream(captures / p.name) << "earlier job 3";
    }

    for (const char* job : {"job 1", "job 2", "job 3"})
        submit(kQueue, job);
    ASSERT_EQ(sandbox->waitForCompletedJobs(kQueue, 3).size(), 3u);

    EXPECT_EQ(sandbox->capturedJobs(kQueue),
              (std::vector<Bytes>{"job 1", "job 2", "earlier job 3", "job 3"}));
    EXPECT_EQ(outside.entries(), std::vector<std::string>{"kept"});
    std::string kept;
    std::ifstream(outside.path / "kept") >> kept;
    EXPECT_EQ(kept, "untouched");
}

TEST_F(SandboxConfinement, AQueueWhoseDeviceIsNotItsOwnCaptureFolderDeliversNothing) {
    sandbox->start();
    sandbox->addQueue(kQueue, true);
    // Stray's own folder is there: only the device URI keeps the backend from writing into it.
    sandbox->makeCaptureFolders({"Stray"});
    const ScratchFolder outside;
    const std::vector<std::pair<const char*, std::string>> devicesOfStray = {
        {"a folder outside the sandbox", outside.path.string()},
        {"another queue's folder", sandbox->captureFolder(kQueue)},
        {"the folder of all captures", sandbox->folder() + "/capture"},
        {"a way round to another queue's folder", sandbox->captureFolder("Stray") + "/../Orvel"},
    };
    for (size_t i = 0; i < devicesOfStray.size(); ++i) {
        SCOPED_TRACE(devicesOfStray[i].first);
        const CommandResult added =
            runShell("lpadmin -p Stray -E -v capture:" + devicesOfStray[i].second);
        ASSERT_TRUE(added.succeeded) << added.output;
        submit("Stray", "stray job");
        EXPECT_EQ(sandbox->waitForCompletedJobs("Stray", i + 1).size(), i + 1);
        EXPECT_EQ(outside.entries(), std::vector<std::string>{"kept"});
        EXPECT_TRUE(sandbox->capturedJobs(kQueue).empty());
        EXPECT_TRUE(sandbox->capturedJobs("Stray").empty());
    }
}

std::pair<uid_t, gid_t> ownerOf(const fs::path& path) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0)
        return {static_cast<uid_t>(-1), static_cast<gid_t>(-1)};
    return {status.st_uid, status.st_gid};
}

// Root writes the configuration, the backend and the capture folders there and runs them: a
// folder that another user could change, or swap for another, is no place for them, nor is a
// folder of captures that leads elsewhere.
TEST_F(SandboxConfinement, NoCommandWorksInAFolderThatAnotherUserCouldChange) {
    const uid_t nobody = getpwnam("nobody")->pw_uid;
    struct Case {
        const char* what;
        std::function<fs::path(const fs::path& scratch)> arrange;
    };
    // A folder of root's that a link named capture leads to, with a folder of root's in it
    // under the name of a queue.
    const auto captureLinkedToTarget = [](const fs::path& sandbox, const fs::path& scratch) {
        fs::create_directories(scratch / "target" / "Other");
        fs::create_directory_symlink(scratch / "target", sandbox / "capture");
    };
    const std::vector<Case> cases = {
        {"a folder of another user's",
         [&](const fs::path& scratch) {
             fs::create_directory(scratch / "sandbox");
             EXPECT_EQ(chown((scratch / "sandbox").c_str(), nobody, -1), 0);
             return scratch / "sandbox";
         }},
        {"a folder that every user may write",
         [](const fs::path& scratch) {
             fs::create_directory(scratch / "sandbox");
             fs::permissions(scratch / "sandbox", fs::perms::all);
             return scratch / "sandbox";
         }},
        {"a folder of root's inside a folder of another user's",
         [&](const fs::path& scratch) {
             fs::create_directory(scratch / "theirs");
             EXPECT_EQ(chown((scratch / "theirs").c_str(), nobody, -1), 0);
             fs::create_directory(scratch / "theirs" / "sandbox");
             return scratch / "theirs" / "sandbox";
         }},
        {"a folder of another user's whose captures lead to a folder of root's",
         [&](const fs::path& scratch) {
             fs::create_directory(scratch / "sandbox");
             captureLinkedToTarget(scratch / "sandbox", scratch);
             EXPECT_EQ(lchown((scratch / "sandbox" / "capture").c_str(), nobody, -1), 0);
             EXPECT_EQ(chown((scratch / "sandbox").c_str(), nobody, -1), 0);
             return scratch / "sandbox";
         }},
        {"a folder of root's whose captures lead elsewhere",
         [&](const fs::path& scratch) {
             fs::create_directory(scratch / "sandbox");
             captureLinkedToTarget(scratch / "sandbox", scratch);
             return scratch / "sandbox";
         }},
    };
    const std::string script = ORVEL_CUPS_SANDBOX_SCRIPT;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ScratchFolder scratch;
        const fs::path folder = c.arrange(scratch.path);
        const auto folderOwner = ownerOf(folder);
        const fs::path target = scratch.path / "target";
        const auto targetOwners = std::make_pair(ownerOf(target), ownerOf(target / "Other"));
        for (const std::string& command :
             {"start " + folder.string(), "capture-folders " + folder.string() + " Orvel Other",
              "add-queue " + folder.string() + " Orvel"}) {
            SCOPED_TRACE(command);
            const CommandResult result = runShell(script + " " + command);
            EXPECT_FALSE(result.succeeded) << result.output;
        }
        runShell(script + " stop " + folder.string());

        EXPECT_FALSE(fs::exists(folder / "conf")) << "root wrote its configuration there";
        EXPECT_FALSE(fs::exists(fs::symlink_status(folder / "capture" / "Orvel")))
            << "root made a capture folder";
        EXPECT_EQ(ownerOf(folder), folderOwner);
        if (fs::exists(target)) {
            EXPECT_EQ(std::make_pair(ownerOf(target), ownerOf(target / "Other")), targetOwners)
                << "root gave away a folder that a link led to";
            EXPECT_TRUE(fs::is_empty(target / "Other"));
        } else {
            EXPECT_FALSE(fs::exists(fs::symlink_status(folder / "capture" / "Other")));
        }
    }
}

TEST_F(SandboxConfinement, StopSignalsNoProcessButItsOwnScheduler) {
    sandbox->start();
    const pid_t scheduler = schedulerPid();
    ASSERT_GT(scheduler, 0);
    const pid_t unrelated = fork();
    ASSERT_GE(unrelated, 0);
    if (unrelated == 0) {
        execlp("sleep", "sleep", "30", static_cast<char*>(nullptr));
        _exit(127);
    }
    // Pid files that name a process of somebody else's, as a stale or forged one would.
    for (const char* pidFile : {"/cupsd.pid", "/watch.pid"})
        std::ofstream(sandbox->folder() + pidFile) << unrelated << "\n";

    sandbox->stop();

    int status = 0;
    EXPECT_EQ(waitpid(unrelated, &status, WNOHANG), 0) << "the unrelated process was stopped";
    kill(unrelated, SIGKILL);
    waitpid(unrelated, &status, 0);
    EXPECT_TRUE(gone(scheduler, std::chrono::seconds(2))) << "its own scheduler still runs";
}

TEST_F(SandboxConfinement, StartsAgainAfterItsSchedulerWasKilled) {
    sandbox->start();
    sandbox->addQueue(kQueue, true);
    submit(kQueue, "before");
    ASSERT_EQ(waitForCaptures(kQueue, 1).size(), 1u);
    const pid_t killed = schedulerPid();
    ASSERT_GT(killed, 0);
    ASSERT_EQ(kill(killed, SIGKILL), 0);
    ASSERT_TRUE(gone(killed, std::chrono::seconds(5)));

    sandbox->start();  // throws when it reports a failure
    // The first scheduler's watchdog has seen it go by now; the new one must be left running.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    // A killed cupsd may forget its queues and its last job id: set up again and print again.
    sandbox->addQueue(kQueue, true);
    submit(kQueue, "after");
    EXPECT_EQ(waitForCaptures(kQueue, 2), (std::vector<Bytes>{"before", "after"}));
}

}  // namespace
}  // namespace orvel::test
