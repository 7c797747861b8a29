// Many printers at once over a spooler double: each printer's own result, the order of the result
// lines, the bound on connections at the same moment and the pauses that overlap.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "cli/fleet/Fleet.h"
#include "cli/fleet/PrinterJob.h"
#include "cli/io/Console.h"
#include "cli/targets/TargetPlan.h"
#include "printer/commands/FeaturesPage.h"
#include "printer/job/SpoolerDetails.h"

namespace orvel::cli {
namespace {

thread_local bool serverChosenOnThisThread = false;
thread_local std::string serverOfThisThread;

// The scheduler that never answers: each open on it waits a while and fails.
constexpr char kSilentServer[] = "silent.example:631";
constexpr auto kSilentWait = std::chrono::milliseconds(200);

// What every backend instance of one run shares: the queues and what reached them.
class FakeQueues {
public:
    std::set<std::string> busy;     // queues that hold a job already
    std::set<std::string> missing;  // queues that don't open
    std::set<std::string> stopped;  // queues that take jobs and keep them
    std::set<std::string> torn;     // queues whose connection breaks while the job is written
    // queues that take the whole job and give no answer: it may still arrive
    std::set<std::string> unanswered;
    std::set<std::string> locked;  // queues whose scheduler wants a password
    DefaultPrinter defaultAnswer{true, "Orvel"};
    std::string throwOn;  // opening this queue throws
    std::map<std::string, long> jobIds;
    std::map<std::string, JobState> jobStates;  // what a job becomes; none: completed

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
    // The id that the spooler gives a job on the queue; 0: none that it tells.
    long jobIdOn(const std::string& queue) const {
        const auto it = jobIds.find(queue);
        return it == jobIds.end() ? 0 : it->second;
    }
    void askedSilentServer() {
        std::lock_guard<std::mutex> lock(mutex_);
        ++silentAsked_;
    }
    int silentAsked() const { return silentAsked_; }
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
    int silentAsked_ = 0;
    std::vector<int> pauses_;
    std::map<std::string, std::vector<std::pair<std::string, Bytes>>> jobs_;
};

class FakeSpooler : public Spooler, public SpoolerDetails {
public:
    explicit FakeSpooler(FakeQueues& queues) : queues_(queues) {}

    DefaultPrinter defaultPrinter() override {
        noteServer();
        return queues_.defaultAnswer;
    }
    Handle openPrinter(const std::string& name) override {
        noteServer();
        if (serverOfThisThread == kSilentServer) {
            queues_.askedSilentServer();
            std::this_thread::sleep_for(kSilentWait);
            openFailure_ = OpenFailure::NotAnswering;
            return kNoHandle;
        }
        if (name == queues_.throwOn)
            throw std::runtime_error("out of memory");
        if (queues_.missing.count(name) != 0 || queues_.locked.count(name) != 0) {
            openFailure_ = queues_.locked.count(name) != 0 ? OpenFailure::NeedsAuthentication
                                                           : OpenFailure::NoSuchPrinter;
            return kNoHandle;
        }
        queues_.opened();
        name_ = name;
        return 1;
    }
    long queuedJobs(Handle) override { return queues_.busy.count(name_) != 0 ? 1 : 0; }
    bool queueStopped(Handle) override { return queues_.stopped.count(name_) != 0; }
    bool startDocument(Handle, const std::string& documentName) override {
        document_ = documentName;
        bytes_.clear();
        sendFailure_ = SendFailure::Withdrawn;
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
        if (queues_.unanswered.count(name_) != 0) {
            sendFailure_ = SendFailure::Unconfirmed;
            return false;
        }
        queues_.received(name_, document_, bytes_);
        jobId_ = queues_.jobIdOn(name_);
        return true;
    }
    void cancelDocument(Handle) override {}
    void closePrinter(Handle) override { queues_.closed(); }

    OpenFailure lastOpenFailure() const override { return openFailure_; }
    SendFailure lastSendFailure() const override { return sendFailure_; }
    long lastJobId() const override { return jobId_; }
    JobState jobState(const std::string& printerName, long, std::chrono::milliseconds) override {
        const auto it = queues_.jobStates.find(printerName);
        return it == queues_.jobStates.end() ? JobState::Completed : it->second;
    }

private:
    void noteServer() {
        if (!serverChosenOnThisThread)
            queues_.askedWithoutServer();
    }

    FakeQueues& queues_;
    std::string name_;
    std::string document_;
    Bytes bytes_;
    OpenFailure openFailure_ = OpenFailure::Unknown;
    SendFailure sendFailure_ = SendFailure::Unknown;
    long jobId_ = 0;
};

class FleetRun : public ::testing::Test {
protected:
    FleetRun() {
        platform.newSpooler = [this] { return std::make_unique<FakeSpooler>(queues); };
        platform.useScheduler = [this](const SchedulerChoice& scheduler) {
            serverChosenOnThisThread = true;
            serverOfThisThread = scheduler.server.value_or("");
            std::lock_guard<std::mutex> lock(serversMutex);
            servers.insert(scheduler.server.value_or("(usual)"));
        };
        platform.pause = [this](int milliseconds) { queues.pausing(milliseconds); };
    }

    std::vector<PrinterResult> send(const PrinterJob& job, const std::vector<std::string>& printers,
                                    std::optional<std::string> server = std::nullopt) {
        serverChosenOnThisThread = false;
        Console console(out, err, onTerminal);
        Invocation invocation;
        invocation.printers = printers;
        invocation.server = server;
        const TargetReading targets = planTargets(invocation, platform);
        EXPECT_TRUE(targets.ok()) << targets.error;
        std::vector<PrinterResult> results;
        for (const PrinterReport& report :
             Fleet(platform, console, options).send(job, targets.plan))
            results.push_back(report.result);
        return results;
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
    FleetOptions options;
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
    queues.locked = {"locked"};
    queues.stopped = {"paused"};
    queues.throwOn = "broken";
    queues.torn = {"torn"};
    queues.unanswered = {"late"};
    queues.jobIds = {{"orvel1", 11}, {"orvel4", 14}};
    const std::vector<PrinterResult> results =
        send(PrinterJob::restoreDefaults(), {"orvel1", "orvel2", "gone", "orvel4", "paused",
                                             "orvel5", "broken", "torn", "late", "locked"});
    EXPECT_EQ(results, (std::vector<PrinterResult>{
                           PrinterResult::Sent, PrinterResult::Busy, PrinterResult::NoSuchPrinter,
                           PrinterResult::Sent, PrinterResult::QueueStopped, PrinterResult::Busy,
                           PrinterResult::Failed, PrinterResult::SendFailed,
                           PrinterResult::SendUnconfirmed, PrinterResult::NeedsAuthentication}));
    EXPECT_EQ(out.str(),
              "orvel1: sent: job 11\n"
              "orvel2: not sent: busy\n"
              "gone: not sent: no such printer\n"
              "orvel4: sent: job 14\n"
              "paused: not sent: queue stopped\n"
              "orvel5: not sent: busy\n"
              "broken: not sent: failed\n"
              "torn: not sent: send failed\n"
              "late: not sent: send failed, the job may still arrive (lpstat -W completed)\n"
              "locked: not sent: authentication needed\n");
    std::vector<std::string> messages;
    std::istringstream lines(err.str());
    for (std::string line; std::getline(lines, line);)
        messages.push_back(line);
    std::sort(messages.begin(), messages.end());
    EXPECT_EQ(messages, (std::vector<std::string>{
                            "broken: out of memory",
                            "gone: OpenPrinter Falied!!! Unable to access printer",
                            "late: Unable to send data to the printer. Download Failed!!",
                            "locked: OpenPrinter Falied!!! Unable to access printer",
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

// A scheduler that does not answer costs the run one wait, not one per printer: once an open has
// not been answered, its printers not yet served fail at once; another scheduler's are served.
TEST_F(FleetRun, ASilentSchedulersPrintersFailAtOnceAfterItsFirstWaitAndTheOthersAreServed) {
    const int count = 100;
    std::vector<std::string> printers;
    for (int i = 1; i <= count; ++i)
        printers.push_back("ipp://" + std::string(kSilentServer) + "/printers/q" +
                           std::to_string(i));
    printers.push_back("ipp://print.example/printers/alive");
    const auto start = std::chrono::steady_clock::now();
    const std::vector<PrinterResult> results = send(PrinterJob::restoreDefaults(), printers);
    const auto took = std::chrono::steady_clock::now() - start;

    std::vector<PrinterResult> expected(count, PrinterResult::NotAnswering);
    expected.push_back(PrinterResult::Sent);
    EXPECT_EQ(results, expected);
    EXPECT_LE(queues.silentAsked(), Fleet::kHandOffsAtOnce);
    EXPECT_LT(took, 3 * kSilentWait + std::chrono::milliseconds(2500 / 10));
    std::istringstream lines(out.str());
    std::string line;
    for (int i = 1; i <= count && std::getline(lines, line); ++i)
        EXPECT_EQ(line, printers[i - 1] + ": not sent: scheduler not answering");
    EXPECT_EQ(queues.jobsOf("/printers/alive").size() + queues.jobsOf(printers.back()).size(), 1u);
}

// --wait: the lines come once every job has left its queue or the time is up, each with what
// became of its job.
TEST_F(FleetRun, WaitingTellsWhatBecameOfEachJobWithinItsTime) {
    queues.jobIds = {{"done", 1}, {"held", 2}, {"failed", 3}, {"slow", 4}, {"dropped", 5}};
    queues.jobStates = {{"held", JobState::Held},
                        {"failed", JobState::Aborted},
                        {"slow", JobState::Pending},
                        {"dropped", JobState::Canceled}};
    queues.busy = {"busy"};
    options.waitSeconds = 1;
    const auto start = std::chrono::steady_clock::now();
    send(PrinterJob::featuresPage(), {"done", "held", "failed", "slow", "dropped", "noid"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(out.str(),
              "done: sent: job 1, completed\n"
              "held: sent: job 2, held\n"
              "failed: sent: job 3, aborted\n"
              "slow: sent: job 4, pending\n"
              "dropped: sent: job 5, canceled\n"
              "noid: sent, unknown\n");

    out.str("");
    options.json = true;
    send(PrinterJob::restoreDefaults(), {"done", "busy"});
    std::string lines = std::regex_replace(out.str(), std::regex(",\"time\":\"[-0-9T:Z]+\""), "");
    EXPECT_EQ(
        lines,
        "{\"printer\":\"done\",\"result\":\"sent\",\"reason\":\"sent\",\"job\":1,"
        "\"job_state\":\"completed\",\"message\":[]}\n"
        "{\"printer\":\"busy\",\"result\":\"not sent\",\"reason\":\"busy\",\"job\":null,"
        "\"job_state\":null,\"message\":[\"Unable to download printer settings.\",\"\","
        "\"Printer is busy with processing print jobs, please try once printer is free.\"]}\n");
}

TEST(JsonLines, KeepAnyNameValidTextAndTheTimeInUtc) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"plain", "\"plain\""},
        {"quote\" back\\", "\"quote\\\" back\\\\\""},
        {"tab\tbell\x07", "\"tab\\u0009bell\\u0007\""},
        {"caf\xC3\xA9", "\"caf\xC3\xA9\""},
        {"bad\xC3(", "\"bad\\ufffd(\""},
        {"\xED\xA0\x80", "\"\\ufffd\\ufffd\\ufffd\""},
        {"\xF0\x9F\x96\xA8", "\"\xF0\x9F\x96\xA8\""},
    };
    for (const auto& [text, json] : cases)
        EXPECT_EQ(jsonString(text), json) << text;
    EXPECT_TRUE(std::regex_match(utcNow(), std::regex("20[0-9]{2}-[01][0-9]-[0-3][0-9]T[0-2][0-9]:"
                                                      "[0-5][0-9]:[0-6][0-9]Z")));
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
