// Writing a job's bytes whole or not at all, without following a link planted at the name.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <thread>

#include "cli/io/JobFile.h"
#include "tests/cli/ProgramRun.h"

namespace orvel::cli {
namespace {

namespace fs = std::filesystem;
using test::fileBytes;
using test::writeBytes;

const Bytes kJob = Bytes("\x1B\x19\x00\x01\x10\x02\x00\x10\xE0\x00\x08\x02\x01\x01\x01", 15);

class JobFileWrite : public ::testing::Test {
protected:
    void SetUp() override {
        char folderTemplate[] = "/tmp/orvel-jobfile.XXXXXX";
        ASSERT_NE(mkdtemp(folderTemplate), nullptr);
        folder = folderTemplate;
    }
    void TearDown() override { fs::remove_all(folder); }

    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string folder;
};

TEST_F(JobFileWrite, ANewOrOldFileHoldsExactlyTheJobAndNothingElseIsLeft) {
    const std::string path = folder + "/job.bin";
    EXPECT_EQ(JobFile::write(path, kJob), "");
    EXPECT_EQ(fileBytes(path), kJob);
    EXPECT_EQ(JobFile::write(path, "\x1B\x19\x01"), "");
    EXPECT_EQ(fileBytes(path), "\x1B\x19\x01");
    EXPECT_EQ(entries(), std::vector<std::string>{"job.bin"});
    // As any new file: readable by others unless the umask says otherwise.
    const mode_t mask = umask(022);
    umask(mask);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              static_cast<fs::perms>(0666 & ~mask));
}

TEST_F(JobFileWrite, APlantedLinkIsRefusedAndWhatItPointsToIsUntouched) {
    const std::string victim = folder + "/passwd";
    writeBytes(victim, "root:x:0:0\n");
    const std::string link = folder + "/job.bin";
    fs::create_symlink(victim, link);
    EXPECT_EQ(JobFile::write(link, kJob), "it is a symbolic link; name the file itself");
    EXPECT_EQ(fileBytes(victim), "root:x:0:0\n");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(entries(), (std::vector<std::string>{"job.bin", "passwd"}));
}

TEST_F(JobFileWrite, AFolderOrAMissingFolderIsRefused) {
    EXPECT_EQ(JobFile::write(folder, kJob), "it is a folder");
    EXPECT_EQ(JobFile::write(folder + "/none/job.bin", kJob), "No such file or directory");
    EXPECT_TRUE(entries().empty());
}

// A device or a pipe is written to as it is: bytes reach a printer port that way.
TEST_F(JobFileWrite, ADeviceOrAPipeWithAReaderTakesTheBytes) {
    EXPECT_EQ(JobFile::write("/dev/null", kJob), "");
    EXPECT_EQ(JobFile::write("/dev/full", kJob), "No space left on device");

    const std::string pipe = folder + "/port";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(JobFile::write(pipe, kJob), "no one reads from it");
    Bytes received;
    std::thread reader([&] { received = fileBytes(pipe); });
    // The reader's open may come a moment later: try until it is there.
    std::string reason = "no one reads from it";
    for (int attempt = 0; attempt < 500 && reason == "no one reads from it"; ++attempt) {
        reason = JobFile::write(pipe, kJob);
        if (reason == "no one reads from it")
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(reason, "");
    reader.join();
    EXPECT_EQ(received, kJob);
}

// A write that fails half way (here: a file size limit of 10 bytes) leaves the old file as it was
// and no new file behind.
TEST_F(JobFileWrite, AFailedWriteLeavesTheOldFileWhole) {
    const std::string path = folder + "/job.bin";
    writeBytes(path, "\x1B\x19\x01");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{10, 10};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(JobFile::write(path, kJob) == "File too large" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the write did not fail so";
    EXPECT_EQ(fileBytes(path), "\x1B\x19\x01");
    EXPECT_EQ(entries(), std::vector<std::string>{"job.bin"});
}

struct stat statusOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(stat(path.c_str(), &status), 0) << path;
    return status;
}

// A file kept private stays private, whatever the umask, and one of another owner keeps its
// owner where that can be done (by root).
TEST_F(JobFileWrite, AReplacedFileKeepsItsPermissionsOwnerAndGroup) {
    const std::string path = folder + "/job.bin";
    const bool root = geteuid() == 0;
    for (const mode_t mode : {0600, 0640, 0604, 0660, 0755}) {
        SCOPED_TRACE(mode);
        writeBytes(path, "\x1B\x19\x01");
        ASSERT_EQ(chmod(path.c_str(), mode), 0);
        if (root) {
            ASSERT_EQ(chown(path.c_str(), 12345, 23456), 0);
        }
        const struct stat before = statusOf(path);
        EXPECT_EQ(JobFile::write(path, kJob), "");
        EXPECT_EQ(fileBytes(path), kJob);
        const struct stat after = statusOf(path);
        EXPECT_NE(after.st_ino, before.st_ino);  // a new file, renamed over the old one
        EXPECT_EQ(after.st_mode & 07777, mode);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
    }
    EXPECT_EQ(entries(), std::vector<std::string>{"job.bin"});
}

// A user who may replace files in a shared folder, but not give a file away, leaves another
// user's file as it was rather than take it over.
TEST_F(JobFileWrite, AFileWhoseOwnerCannotBeKeptIsLeftAsItWas) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root, to act as two other users";
    ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
    const std::string path = folder + "/job.bin";
    writeBytes(path, "\x1B\x19\x01");
    ASSERT_EQ(chmod(path.c_str(), 0600), 0);
    ASSERT_EQ(chown(path.c_str(), 12345, 12345), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgid(23456) != 0 || setuid(23456) != 0)
            _exit(2);
        const std::string reason = JobFile::write(path, kJob);
        _exit(reason.rfind("cannot keep its owner and group (user 12345, group 12345): ", 0) == 0
                  ? 0
                  : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the write was not refused so";
    EXPECT_EQ(fileBytes(path), "\x1B\x19\x01");
    EXPECT_EQ(statusOf(path).st_uid, 12345u);
    EXPECT_EQ(entries(), std::vector<std::string>{"job.bin"});
}

// orvel-settings -o, stopped the moment its temporary file appears and then sent the signal.
class StoppedWithItsTemporaryFile {
public:
    StoppedWithItsTemporaryFile(const std::string& folder, const std::string& path)
        : folder_(folder) {
        watch_ = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        inotify_add_watch(watch_, folder.c_str(), IN_CREATE);
        child_ = fork();
        if (child_ == 0) {
            const int null = open("/dev/null", O_RDWR);
            dup2(null, 0);
            dup2(null, 1);
            dup2(null, 2);
            execl(ORVEL_SETTINGS_PATH, ORVEL_SETTINGS_PATH, "restore", "-o", path.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~StoppedWithItsTemporaryFile() {
        close(watch_);
        if (child_ > 0 && !ended_) {
            kill(child_, SIGKILL);
            waitpid(child_, nullptr, 0);
        }
    }

    // True when the program was stopped while its temporary file existed; it stays stopped.
    bool caught() {
        if (child_ < 0 || !temporaryCreated())
            return false;
        kill(child_, SIGSTOP);
        int status = 0;
        if (waitpid(child_, &status, WUNTRACED) != child_ || !WIFSTOPPED(status)) {
            ended_ = true;
            return false;
        }
        return temporaryExists();
    }

    // Sends the signal to the stopped program, lets it go on and returns how it ended.
    int endWith(int signal) {
        kill(child_, signal);
        kill(child_, SIGCONT);
        int status = 0;
        waitpid(child_, &status, 0);
        ended_ = true;
        return status;
    }

private:
    bool temporaryCreated() {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        alignas(inotify_event) char buffer[4096];
        while (std::chrono::steady_clock::now() < end) {
            pollfd ready{watch_, POLLIN, 0};
            if (poll(&ready, 1, 100) != 1)
                continue;
            const ssize_t got = read(watch_, buffer, sizeof buffer);
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                if (event->len > 0 && std::strncmp(event->name, ".orvel-settings.", 16) == 0)
                    return true;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return false;
    }

    bool temporaryExists() const {
        for (const auto& entry : fs::directory_iterator(folder_)) {
            if (entry.path().filename().string().rfind(".orvel-settings.", 0) == 0)
                return true;
        }
        return false;
    }

    std::string folder_;
    int watch_ = -1;
    pid_t child_ = -1;
    bool ended_ = false;
};

TEST_F(JobFileWrite, ARunEndedByASignalRemovesItsTemporaryFile) {
    const std::string path = folder + "/job.bin";
    const Bytes old = "old job";
    const Bytes restore = "\x1B\x19\x01";
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        bool caught = false;
        for (int attempt = 0; attempt < 20 && !caught; ++attempt) {
            writeBytes(path, old);
            StoppedWithItsTemporaryFile run(folder, path);
            caught = run.caught();
            if (!caught)
                continue;
            const int status = run.endWith(signal);
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
            EXPECT_EQ(entries(), std::vector<std::string>{"job.bin"});
            const Bytes left = fileBytes(path);
            EXPECT_TRUE(left == old || left == restore) << left;
        }
        EXPECT_TRUE(caught) << "the program was never stopped with its temporary file there";
    }
}

}  // namespace
}  // namespace orvel::cli
