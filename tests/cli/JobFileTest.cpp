// Writing a job's bytes whole or not at all, without following a link planted at the name.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
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

}  // namespace
}  // namespace orvel::cli
