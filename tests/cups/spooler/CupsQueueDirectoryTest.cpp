// Listing the queues of a scheduler that is not there, or that never answers: the listing ends,
// within its bound, with the reason.
#include <cups/cups.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "printer/cups/CupsQueueDirectory.h"
#include "tests/cups/spooler/SilentScheduler.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

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
    test::SilentScheduler silent;
    cupsSetServer(silent.address().c_str());
    const auto start = std::chrono::steady_clock::now();
    const QueueListing listing = CupsQueueDirectory(std::chrono::milliseconds(1500)).listQueues();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(listing.reached);
    // The scheduler is named as -h names it, with its port.
    EXPECT_EQ(listing.error,
              "the scheduler at " + silent.address() + " did not answer within 1.5 s");
    EXPECT_LT(took.count(), 5.0);
}

}  // namespace
}  // namespace orvel
