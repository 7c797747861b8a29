// Reading a profile or a job by name: whatever the name leads to, the read ends, bounded in size
// and, for a pipe or a device, in time.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <thread>

#include "cli/io/BoundedRead.h"

namespace orvel::cli {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr std::size_t kLimit = 64 * 1024;
constexpr auto kTimeout = 300ms;
const std::string kProfile = "Font: Roman\nInterface: USB\n";

class BoundedReadByName : public ::testing::Test {
protected:
    void SetUp() override {
        char folderTemplate[] = "/tmp/orvel-read.XXXXXX";
        ASSERT_NE(mkdtemp(folderTemplate), nullptr);
        folder = folderTemplate;
        fifo = folder + "/profile";
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    }
    void TearDown() override { fs::remove_all(folder); }

    // Reads the name on its own thread. A read that does not end by itself is ended by a writer
    // that opens the pipe and closes it, so that the test fails instead of hanging.
    BoundedRead readEndingWithin(const std::string& path, std::chrono::seconds bound) {
        auto reading = std::async(std::launch::async,
                                  [path] { return BoundedRead::of(path, kLimit, kTimeout); });
        if (reading.wait_for(bound) != std::future_status::ready) {
            ADD_FAILURE() << "the read of " << path << " did not end within " << bound.count()
                          << " s";
            const int release = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (release >= 0)
                ::close(release);
        }
        return reading.get();
    }

    // A writer that writes the bytes after a while and then keeps the pipe open or closes it.
    std::thread writer(std::string bytes, std::chrono::milliseconds after, bool keepsItOpen) {
        return std::thread([this, bytes, after, keepsItOpen] {
            const int file = ::open(fifo.c_str(), O_WRONLY);
            if (file < 0)
                return;
            std::this_thread::sleep_for(after);
            if (!bytes.empty() && ::write(file, bytes.data(), bytes.size()) < 0)
                ADD_FAILURE() << "cannot write the pipe";
            if (keepsItOpen)
                std::this_thread::sleep_for(kTimeout + 500ms);
            ::close(file);
        });
    }

    std::string folder;
    std::string fifo;
};

TEST_F(BoundedReadByName, APipeGivesWhatItsWriterWroteOrIsGivenUpAtTheDeadline) {
    struct Case {
        const char* what;
        std::function<std::thread()> startWriter;  // none: no one ever writes
        BoundedRead::Status status;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {"no one ever opens it to write", nullptr, BoundedRead::Status::Unreadable, ""},
        {"a writer that writes and closes", [this] { return writer(kProfile, 50ms, false); },
         BoundedRead::Status::Read, kProfile},
        {"a writer that closes without writing", [this] { return writer("", 50ms, false); },
         BoundedRead::Status::Read, ""},
        {"a writer that writes and then holds it open, silent",
         [this] { return writer(kProfile, 0ms, true); }, BoundedRead::Status::Unreadable, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::thread writing = c.startWriter ? c.startWriter() : std::thread();
        const BoundedRead read = readEndingWithin(fifo, 5s);
        EXPECT_EQ(read.status, c.status) << read.reason;
        EXPECT_EQ(read.bytes, c.bytes);
        if (c.status == BoundedRead::Status::Unreadable) {
            EXPECT_EQ(read.reason, "it did not end within 300 ms");
        }
        if (writing.joinable())
            writing.join();
    }
}

TEST_F(BoundedReadByName, AnEndlessDeviceStopsAtTheLimitAndAFolderIsUnreadable) {
    const BoundedRead endless = readEndingWithin("/dev/zero", 5s);
    EXPECT_EQ(endless.status, BoundedRead::Status::TooLarge);
    EXPECT_EQ(endless.bytes.size(), kLimit + 1);

    const BoundedRead folderRead = readEndingWithin(folder, 5s);
    EXPECT_EQ(folderRead.status, BoundedRead::Status::Unreadable);
    EXPECT_EQ(folderRead.reason, "Is a directory");
}

}  // namespace
}  // namespace orvel::cli
