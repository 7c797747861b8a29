// Listing the queues of a scheduler that is not there, or that never answers: the listing ends,
// within its bound, with the reason.
#include <cups/cups.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "printer/cups/CupsQueueDirectory.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

// Takes every connection on a Unix socket and never says a word; stops by itself after a while.
class SilentListener {
public:
    explicit SilentListener(const std::string& path) : path_(path) {
        listener_ = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(listener_, 16) != 0)
            ADD_FAILURE() << "cannot listen on " << path;
        thread_ = std::thread([this] { acceptUntilStopped(); });
    }
    ~SilentListener() {
        stop_ = true;
        thread_.join();
        for (int connection : connections_)
            close(connection);
        close(listener_);
        unlink(path_.c_str());
    }

private:
    void acceptUntilStopped() {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        timeval wait{0, 50000};
        setsockopt(listener_, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        while (!stop_ && std::chrono::steady_clock::now() < end) {
            const int connection = accept(listener_, nullptr, nullptr);
            if (connection >= 0)
                connections_.push_back(connection);
        }
    }

    std::string path_;
    int listener_ = -1;
    std::atomic<bool> stop_{false};
    std::vector<int> connections_;
    std::thread thread_;
};

class CupsQueueListing : public ::testing::Test {
protected:
    void SetUp() override {
        char folderTemplate[] = "/tmp/orvel-list.XXXXXX";
        ASSERT_NE(mkdtemp(folderTemplate), nullptr);
        folder = folderTemplate;
    }
    void TearDown() override {
        cupsSetServer(nullptr);
        fs::remove_all(folder);
    }
    std::string folder;
};

TEST_F(CupsQueueListing, NoSchedulerIsToldAtOnce) {
    const std::string path = folder + "/none.sock";
    cupsSetServer(path.c_str());
    const QueueListing listing = CupsQueueDirectory(std::chrono::seconds(1)).listQueues();
    EXPECT_FALSE(listing.reached);
    EXPECT_EQ(listing.error, "no scheduler answers at " + path);
}

TEST_F(CupsQueueListing, ASchedulerThatNeverAnswersIsGivenUpAtTheBound) {
    const std::string path = folder + "/silent.sock";
    SilentListener silent(path);
    cupsSetServer(path.c_str());
    const auto start = std::chrono::steady_clock::now();
    const QueueListing listing = CupsQueueDirectory(std::chrono::milliseconds(1500)).listQueues();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(listing.reached);
    EXPECT_EQ(listing.error, "the scheduler at " + path + " did not answer within 1.5 s");
    EXPECT_LT(took.count(), 5.0);
}

}  // namespace
}  // namespace orvel
