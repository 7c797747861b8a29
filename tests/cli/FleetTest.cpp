// Many printers at once over a spooler double: each printer's own result, the order of the result
// lines, the bound on connections at the same moment and the pauses that overlap.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "cli/fleet/Fleet.h"
#include "cli/fleet/PrinterJob.h"
#include "cli/io/Console.h"
#include "printer/commands/FeaturesPage.h"

namespace orvel::cli {
namespace {

thread_local bool serverChosenOnThisThread = false;

// What every backend instance of one run shares: the queues and what reached them.
class FakeQueues {
public:
    std::set<std::string> busy;     // queues that hold a job already
    std::set<std::string> missing;  // queues that don't open
    std::set<std::string> stopped;  // queues that take jobs and keep them
    std::set<std::string> torn;     // queues whose connection breaks while the job is written
    DefaultPrinter defaultAnswer{true, "Orvel"};
    std::string throwOn;  // opening this queue throws

    void opened() {
        std::lock_guard<std::mutex> lock(mutex_);
        maxOpen_ = std::max(maxOpen_, ++open_);
    }
    void closed() {
        std::lock_guard<std::mutex> lock(mutex_);
        --open_;
    }
    void received(const std::string& queue, const std::string& name, const Bytes& bytes) {
        std::lock_guard<std::mutex> lock(mutex_);
        jobs_[queue].push_back({name, bytes});
    }
    void askedWithoutServer() {
        std::lock_guard<std::mutex> lock(mutex_);
        ++withoutServer_;
    }
    void pausing(int milliseconds) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            pauses_.push_back(milliseconds);
            maxPausing_ = std::max(maxPausing_, ++pausing_);
        }
        // A tenth of the pause: long enough for the pauses to overlap if they can.
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds / 10));
        std::lock_guard<std::mutex> lock(mutex_);
        --pausing_;
    }

    int maxOpen() const { return maxOpen_; }
    int maxPausing() const { return maxPausing_; }
    int withoutServer() const { return withoutServer_; }
    const std::vector<int>& pauses() const { return pauses_; }
    std::vector<std::pair<std::string, Bytes>> jobsOf(const std::string& queue) const {
        const auto it = jobs_.find(queue);
        return it == jobs_.end() ? std::vector<std::pair<std::string, Bytes>>{} : it->second;
    }

private:
    std::mutex mutex_;
    int open_ = 0;
    int maxOpen_ = 0;
    int pausing_ = 0;
    int maxPausing_ = 0;
    int withoutServer_ = 0;
    std::vector<int> pauses_;
    std::map<std::string, std::vector<std::pair<std::string, Bytes>>> jobs_;
};

class FakeSpooler : public Spooler {
public:
    explicit FakeSpooler(FakeQueues& queues) : queues_(queues) {}

    DefaultPrinter defaultPrinter() override {
        noteServer();
        return queues_.defaultAnswer;
    }
    Handle openPrinter(const std::string& name) override {
        noteServer();
        if (name == queues_.throwOn)
            throw std::runtime_error("out of memory");
        if (queues_.missing.count(name) != 0)
            return kNoHandle;
        queues_.opened();
        name_ = name;
        return 1;
    }
    long queuedJobs(Handle) override { return queues_.busy.count(name_) != 0 ? 1 : 0; }
    bool queueStopped(Handle) override { return queues_.stopped.count(name_) != 0; }
    bool startDocument(Handle, const std::string& documentName) override {
        document_ = documentName;
        bytes_.clear();
        return true;
    }
    bool startPage(Handle) override { return true; }
    long writeChunk(Handle, const Bytes& chunk) override {
        if (queues_.torn.count(name_) != 0)
            return -1;
        bytes_ += chunk;
        return static_cast<long>(chunk.size());
    }
    bool endPage(Handle) override { return true; }
    bool endDocument(Handle) override {
        queues_.received(name_, document_, bytes_);
        return true;
    }
    void cancelDocument(Handle) override {}
    void closePrinter(Handle) override { queues_.closed(); }

private:
    void noteServer() {
        if (!serverChosenOnThisThread)
            queues_.askedWithoutServer();
    }

    FakeQueues& queues_;
    std::string name_;
    std::string document_;
    Bytes bytes_;
};

class FleetRun : public ::testing::Test {
protected:
    FleetRun() {
        platform.newSpooler = [this] { return std::make_unique<FakeSpooler>(queues); };
        platform.useServer = [this](const std::string& server) {
            serverChosenOnThisThread = true;
            std::lock_guard<std::mutex> lock(serversMutex);
            servers.insert(server);
        };
        platform.pause = [this](int milliseconds) { queues.pausing(milliseconds); };
    }

    std::vector<PrinterResult> send(const PrinterJob& job, const std::vector<std::string>& printers,
                                    std::optional<std::string> server = std::nullopt) {
        serverChosenOnThisThread = false;
        Console console(out, err, onTerminal);
        return Fleet(platform, console, server).send(job, printers);
    }

    static std::vector<std::string> names(const std::string& stem, int count) {
        std::vector<std::string> all;
        for (int i = 1; i <= count; ++i)
            all.push_back(stem + std::to_string(i));
        return all;
    }

    FakeQueues queues;
    Platform platform;
    std::mutex serversMutex;
    std::set<std::string> servers;
    std::ostringstream out;
    std::ostringstream err;
    bool onTerminal = false;
    const FlagSettings block{{1, 16, 2, 0, 16, 224, 0, 8, 2, 1, 1, 1}};
    const Bytes storeCommand =
        Bytes("\x1B\x19\x00\x01\x10\x02\x00\x10\xE0\x00\x08\x02\x01\x01\x01", 15);
};

class ManyPrinters : public FleetRun, public ::testing::WithParamInterface<int> {};

// 300 printers are more than there are threads: each thread serves several in turn.
INSTANTIATE_TEST_SUITE_P(Sizes, ManyPrinters, ::testing::Values(100, 300));

TEST_P(ManyPrinters, EachGetsTheJobOnceWithFewConnectionsAtOnceAndOverlappingPauses) {
    const int count = GetParam();
    const std::vector<std::string> printers = names("orvel", count);
    const std::vector<PrinterResult> results =
        send(PrinterJob::storeSettings(block), printers, "print.example:631");
    EXPECT_EQ(results, std::vector<PrinterResult>(count, PrinterResult::Sent));
    for (const std::string& printer : printers) {
        const auto jobs = queues.jobsOf(printer);
        ASSERT_EQ(jobs.size(), 1u) << printer;
        EXPECT_EQ(jobs[0].first, "Permanent Settings Configuration");
        EXPECT_EQ(jobs[0].second, storeCommand);
    }
    EXPECT_LE(queues.maxOpen(), Fleet::kHandOffsAtOnce);
    // A pause that held its hand-off slot would keep the others waiting behind it.
    EXPECT_GT(queues.maxPausing(), Fleet::kHandOffsAtOnce);
    EXPECT_EQ(queues.pauses(), std::vector<int>(count, 2500));
    EXPECT_EQ(queues.withoutServer(), 0) << "a thread asked the spooler before choosing -h";
    EXPECT_EQ(servers, std::set<std::string>{"print.example:631"});
    EXPECT_EQ(err.str(), "");
}

TEST_F(FleetRun, ResultLinesComeInTheOrderGivenEachWithItsReasonAndMessage) {
    queues.busy = {"orvel2", "orvel5"};
    queues.missing = {"gone"};
    queues.stopped = {"paused"};
    queues.throwOn = "broken";
    queues.torn = {"torn"};
    const std::vector<PrinterResult> results =
        send(PrinterJob::restoreDefaults(),
             {"orvel1", "orvel2", "gone", "orvel4", "paused", "orvel5", "broken", "torn"});
    EXPECT_EQ(results, (std::vector<PrinterResult>{
                           PrinterResult::Sent, PrinterResult::Busy, PrinterResult::CannotOpen,
                           PrinterResult::Sent, PrinterResult::QueueStopped, PrinterResult::Busy,
                           PrinterResult::Failed, PrinterResult::SendFailed}));
    EXPECT_EQ(out.str(),
              "orvel1: sent\n"
              "orvel2: not sent: busy\n"
              "gone: not sent: cannot open\n"
              "orvel4: sent\n"
              "paused: not sent: queue stopped\n"
              "orvel5: not sent: busy\n"
              "broken: not sent: failed\n"
              "torn: not sent: send failed\n");
    std::vector<std::string> messages;
    std::istringstream lines(err.str());
    for (std::string line; std::getline(lines, line);)
        messages.push_back(line);
    std::sort(messages.begin(), messages.end());
    EXPECT_EQ(messages, (std::vector<std::string>{
                            "broken: out of memory",
                            "gone: OpenPrinter Falied!!! Unable to access printer",
                            "orvel2: Unable to download printer settings. Printer is busy with "
                            "processing print jobs, please try once printer is free.",
                            "orvel5: Unable to download printer settings. Printer is busy with "
                            "processing print jobs, please try once printer is free.",
                            "paused: Unable to download printer settings. The printer's queue is "
                            "stopped: the settings would reach the printer only once the queue is "
                            "resumed. Resume the queue (sudo cupsenable followed by the printer's "
                            "name), then try again.",
                            "torn: Unable to send data to the printer. Download Failed!!",
                        }));
    EXPECT_EQ(queues.jobsOf("orvel1").at(0).second, Bytes("\x1B\x19\x01"));
    EXPECT_TRUE(queues.jobsOf("orvel2").empty());
    EXPECT_EQ(queues.pauses(), (std::vector<int>{2500, 2500}));
}

TEST_F(FleetRun, WithoutAPrinterTheDefaultIsAskedForAndNamedInTheLines) {
    EXPECT_EQ(send(PrinterJob::featuresPage(), {}),
              std::vector<PrinterResult>{PrinterResult::Sent});
    EXPECT_EQ(out.str(), "Orvel: sent\n");
    EXPECT_EQ(queues.jobsOf("Orvel").at(0).first, "Varnet Orvel FEATURES");

    out.str("");
    queues.defaultAnswer = {false, ""};
    EXPECT_EQ(send(PrinterJob::featuresPage(), {}),
              std::vector<PrinterResult>{PrinterResult::NoPrinter});
    EXPECT_EQ(out.str(), "(default printer): not sent: no printer\n");
    EXPECT_EQ(err.str(),
              "(default printer): No printer drivers are installed. Download Failed!!\n");
}

TEST_F(FleetRun, TheFeaturesPageGoesToABusyPrinterWithoutAPause) {
    queues.busy = {"orvel1"};
    EXPECT_EQ(send(PrinterJob::featuresPage(), {"orvel1", "orvel2"}),
              std::vector<PrinterResult>(2, PrinterResult::Sent));
    EXPECT_EQ(queues.jobsOf("orvel1").at(0).second, featuresPageBytes());
    EXPECT_TRUE(queues.pauses().empty());
}

TEST_F(FleetRun, TheProgressCountIsShownOnATerminalOnly) {
    send(PrinterJob::featuresPage(), names("orvel", 6));
    EXPECT_EQ(err.str(), "");

    onTerminal = true;
    send(PrinterJob::featuresPage(), names("orvel", 6));
    const std::string shown = err.str();
    EXPECT_NE(shown.find("1 of 6 printers done"), std::string::npos) << shown;
    EXPECT_NE(shown.find("6 of 6 printers done"), std::string::npos) << shown;
    // The count is wiped at the end: nothing of it stays on the line.
    const std::string last = "6 of 6 printers done";
    EXPECT_EQ(shown.substr(shown.size() - last.size() - 2),
              "\r" + std::string(last.size(), ' ') + "\r");

    err.str("");
    send(PrinterJob::featuresPage(), names("orvel", Fleet::kProgressFrom - 1));
    EXPECT_EQ(err.str(), "") << "a few printers need no count";
}

}  // namespace
}  // namespace orvel::cli
