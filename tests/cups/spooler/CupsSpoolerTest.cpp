// The printer output against a real, private CUPS scheduler: the bytes that reach the printer,
// the names the jobs stand under, the busy refusal and the failures the user is told of.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "printer/commands/FeaturesPage.h"
#include "printer/commands/mdlFlagSettings.h"
#include "printer/cups/CupsSpooler.h"
#include "printer/job/Messages.h"
#include "tests/cups/CupsSandbox.h"
#include "tests/support/ByteList.h"
#include "tests/support/FakeServices.h"

namespace orvel {
namespace {

using test::bytes;

using test::CupsSandbox;
using test::RecordingSleep;
using test::ScriptedMessageBox;

constexpr char kQueue[] = "Orvel";

// Stops the scheduler just before the first chunk is written: the printer was opened and the
// document started, then the spooler went away.
class SchedulerDiesBeforeWriting : public Spooler {
public:
    SchedulerDiesBeforeWriting(Spooler& inner, CupsSandbox& sandbox)
        : inner_(inner), sandbox_(sandbox) {}

    DefaultPrinter defaultPrinter() override { return inner_.defaultPrinter(); }
    Handle openPrinter(const std::string& name) override { return inner_.openPrinter(name); }
    long queuedJobs(Handle printer) override { return inner_.queuedJobs(printer); }
    bool queueStopped(Handle printer) override { return inner_.queueStopped(printer); }
    bool startDocument(Handle printer, const std::string& name) override {
        return inner_.startDocument(printer, name);
    }
    bool startPage(Handle printer) override { return inner_.startPage(printer); }
    long writeChunk(Handle printer, const Bytes& chunk) override {
        if (!stopped_) {
            sandbox_.stop();
            stopped_ = true;
        }
        return inner_.writeChunk(printer, chunk);
    }
    bool endPage(Handle printer) override { return inner_.endPage(printer); }
    bool endDocument(Handle printer) override { return inner_.endDocument(printer); }
    void cancelDocument(Handle printer) override { inner_.cancelDocument(printer); }
    void closePrinter(Handle printer) override { inner_.closePrinter(printer); }

private:
    Spooler& inner_;
    CupsSandbox& sandbox_;
    bool stopped_ = false;
};

std::vector<std::string> titlesOf(const std::vector<test::SpooledJob>& jobs) {
    std::vector<std::string> titles;
    for (const auto& job : jobs)
        titles.push_back(job.title);
    return titles;
}

class CupsPrinterOutput : public testing::Test {
protected:
    void SetUp() override {
        const std::string why = CupsSandbox::whyUnavailable();
        if (!why.empty())
            GTEST_SKIP() << why;
        sandbox.emplace();
    }

    void startWithDefaultQueue() {
        sandbox->start();
        sandbox->addQueue(kQueue, true);
    }

    void download(std::int16_t mode, const FlagSettings* block) {
        mdlFlagSettings::fncDownloadSettings(services, controls, mode, block);
    }

    void expectOnlyMessage(const Message& expected) {
        ASSERT_EQ(messageBox.shown.size(), 1u);
        EXPECT_EQ(messageBox.shown[0].text, expected.text());
        EXPECT_EQ(messageBox.shown[0].title, expected.title);
        EXPECT_EQ(messageBox.shown[0].icon, expected.icon);
        EXPECT_EQ(messageBox.shown[0].buttons, expected.buttons);
    }

    // The scheduler works on its own time: a job that reaches the printer after this marker
    // job has completed would be too late for a test to see, so check in its wake.
    void expectNothingButAMarkerJob() {
        EXPECT_EQ(fncSendRawJob(services, "Marker", {"M"}, BusyCheck::Off), RawJobOutcome::Sent);
        EXPECT_EQ(titlesOf(sandbox->waitForCompletedJobs(kQueue, 1)),
                  (std::vector<std::string>{"Marker"}));
        EXPECT_TRUE(sandbox->activeJobs(kQueue).empty());
        EXPECT_EQ(sandbox->capturedJobs(kQueue), (std::vector<Bytes>{"M"}));
    }

    // A job without documents, held until somebody releases it.
    static void holdAJob() {
        http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC,
                                    HTTP_ENCRYPTION_IF_REQUESTED, 1, 5000, nullptr);
        ASSERT_NE(http, nullptr);
        cups_option_t* options = nullptr;
        const int count = cupsAddOption("job-hold-until", "indefinite", 0, &options);
        EXPECT_GT(cupsCreateJob(http, kQueue, "Held", count, options), 0) << cupsLastErrorString();
        cupsFreeOptions(count, options);
        httpClose(http);
    }

    std::optional<CupsSandbox> sandbox;
    CupsSpooler spooler;
    ScriptedMessageBox messageBox;
    RecordingSleep sleep;
    PrinterServices services{spooler, messageBox, sleep};
    NoIdleControls controls;
};

TEST_F(CupsPrinterOutput, EachJobReachesThePrinterByteForByteUnderItsDocumentName) {
    startWithDefaultQueue();
    const FlagSettings zeros{};
    struct Case {
        const char* what;
        std::function<void()> send;
        Bytes expected;
        std::string documentName;
    };
    const std::vector<Case> cases = {
        {"restore defaults", [&] { download(mdlFlagSettings::kRestoreDefaults, nullptr); },
         bytes({0x1B, 0x19, 0x01}), "Permanent Settings Configuration"},
        {"apply twelve zeros", [&] { download(mdlFlagSettings::kApplySettings, &zeros); },
         bytes({0x1B, 0x19, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
         "Permanent Settings Configuration"},
        {"features page", [&] { fncPrintFeaturesPage(services); }, featuresPageBytes(),
         "Varnet Orvel FEATURES"},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].what);
        cases[i].send();
        const auto completed = sandbox->waitForCompletedJobs(kQueue, i + 1);
        ASSERT_EQ(completed.size(), i + 1);
        EXPECT_EQ(completed.back().title, cases[i].documentName);
        const auto captured = sandbox->capturedJobs(kQueue);
        ASSERT_EQ(captured.size(), i + 1);
        EXPECT_EQ(captured.back(), cases[i].expected);
    }
    EXPECT_TRUE(messageBox.shown.empty());
    EXPECT_EQ(sleep.pauses, (std::vector<int>{2500, 2500}));
}

// A stopped queue would keep the settings until somebody resumes it; the features page may wait
// there like any print job.
TEST_F(CupsPrinterOutput, AStoppedQueueRefusesTheDownloadButQueuesTheFeaturesPage) {
    startWithDefaultQueue();
    sandbox->disableQueue(kQueue);
    const FlagSettings zeros{};
    download(mdlFlagSettings::kApplySettings, &zeros);
    expectOnlyMessage(messages::kQueueStopped);
    EXPECT_TRUE(sleep.pauses.empty());
    EXPECT_TRUE(sandbox->activeJobs(kQueue).empty());

    messageBox.shown.clear();
    fncPrintFeaturesPage(services);
    EXPECT_TRUE(messageBox.shown.empty());
    ASSERT_EQ(titlesOf(sandbox->activeJobs(kQueue)),
              (std::vector<std::string>{"Varnet Orvel FEATURES"}));

    // Holding a job as well: still the stopped queue's message, not the busy one.
    download(mdlFlagSettings::kRestoreDefaults, nullptr);
    expectOnlyMessage(messages::kQueueStopped);
    EXPECT_TRUE(sleep.pauses.empty());
    EXPECT_EQ(titlesOf(sandbox->activeJobs(kQueue)),
              (std::vector<std::string>{"Varnet Orvel FEATURES"}));

    fncPrintFeaturesPage(services);
    EXPECT_EQ(messageBox.shown.size(), 1u);
    EXPECT_EQ(titlesOf(sandbox->activeJobs(kQueue)),
              (std::vector<std::string>{"Varnet Orvel FEATURES", "Varnet Orvel FEATURES"}));
    EXPECT_TRUE(sandbox->capturedJobs(kQueue).empty());
}

// The busy refusal on a queue that runs: a job held in it, so that it stays there.
TEST_F(CupsPrinterOutput, AQueueHoldingAJobRefusesTheDownloadButPrintsTheFeaturesPage) {
    startWithDefaultQueue();
    holdAJob();
    ASSERT_EQ(titlesOf(sandbox->activeJobs(kQueue)), (std::vector<std::string>{"Held"}));

    download(mdlFlagSettings::kRestoreDefaults, nullptr);
    expectOnlyMessage(messages::kPrinterBusy);
    EXPECT_TRUE(sleep.pauses.empty());

    fncPrintFeaturesPage(services);
    EXPECT_EQ(titlesOf(sandbox->waitForCompletedJobs(kQueue, 1)),
              (std::vector<std::string>{"Varnet Orvel FEATURES"}));
    EXPECT_EQ(sandbox->capturedJobs(kQueue), (std::vector<Bytes>{featuresPageBytes()}));
    EXPECT_EQ(messageBox.shown.size(), 1u);
}

TEST_F(CupsPrinterOutput, EachWayOfNotFindingThePrinterIsToldAndSendsNothing) {
    struct Case {
        const char* what;
        std::function<void()> arrange;
        const Message& expected;
    };
    const std::vector<Case> cases = {
        {"no printer set up", [&] { sandbox->start(); }, messages::kNoPrinter},
        {"no scheduler answers", [] {}, messages::kOpenFailed},
        {"the default names a missing printer",
         [&] {
             startWithDefaultQueue();
             setenv("LPDEST", "Missing", 1);
         },
         messages::kOpenFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sandbox.reset();
        sandbox.emplace();
        messageBox.shown.clear();
        c.arrange();
        download(mdlFlagSettings::kRestoreDefaults, nullptr);
        expectOnlyMessage(c.expected);
        EXPECT_TRUE(sleep.pauses.empty());
        EXPECT_TRUE(sandbox->capturedJobs(kQueue).empty());
    }
}

// Something other than a file where the user's lpoptions belong (here a FIFO that nobody
// writes, whose plain open would wait for a writer) names no default and holds nothing up.
TEST_F(CupsPrinterOutput, AnLpoptionsThatIsNoFileLeavesTheDefaultToTheScheduler) {
    startWithDefaultQueue();
    const std::filesystem::path folder = std::filesystem::path(std::getenv("HOME")) / ".cups";
    std::filesystem::create_directories(folder);
    const std::string fifo = (folder / "lpoptions").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

    auto lookup = std::async(std::launch::async, [this] { return spooler.defaultPrinter(); });
    const bool ended = lookup.wait_for(kCupsTimeouts.lookup) == std::future_status::ready;
    if (!ended)
        close(open(fifo.c_str(), O_WRONLY | O_NONBLOCK));  // a writer that ends: the read ends
    EXPECT_TRUE(ended);
    const DefaultPrinter found = lookup.get();
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.name, kQueue);
}

TEST_F(CupsPrinterOutput, ASchedulerThatStopsBeforeTheWriteLeavesNoJobAndNoPartialOutput) {
    startWithDefaultQueue();
    SchedulerDiesBeforeWriting dying(spooler, *sandbox);
    PrinterServices dyingServices{dying, messageBox, sleep};
    const FlagSettings zeros{};
    mdlFlagSettings::fncDownloadSettings(dyingServices, controls, mdlFlagSettings::kApplySettings,
                                         &zeros);
    expectOnlyMessage(messages::kSendFailed);
    EXPECT_TRUE(sleep.pauses.empty());

    // Back up again, the scheduler must neither print nor keep anything of that job.
    sandbox->start();
    messageBox.shown.clear();
    expectNothingButAMarkerJob();
}

TEST_F(CupsPrinterOutput, AnEmptyChunkListSpoolsNothingAndLeavesNoHeldJob) {
    startWithDefaultQueue();
    EXPECT_EQ(fncSendRawJob(services, "Empty", {}, BusyCheck::On), RawJobOutcome::Sent);
    EXPECT_EQ(fncSendRawJob(services, "Empty chunks", {"", ""}, BusyCheck::On),
              RawJobOutcome::Sent);
    EXPECT_TRUE(messageBox.shown.empty());
    expectNothingButAMarkerJob();
}

TEST_F(CupsPrinterOutput, AnEmptyChunkAmongOthersWritesTheRest) {
    startWithDefaultQueue();
    EXPECT_EQ(fncSendRawJob(services, "Mixed", {"", bytes({0x1B, 0x40}), ""}, BusyCheck::Off),
              RawJobOutcome::Sent);
    ASSERT_EQ(sandbox->waitForCompletedJobs(kQueue, 1).size(), 1u);
    EXPECT_EQ(sandbox->capturedJobs(kQueue), (std::vector<Bytes>{bytes({0x1B, 0x40})}));
}

// A settings command cut short must never reach the printer.
TEST_F(CupsPrinterOutput, AWithdrawnOrAbandonedDocumentLeavesNothingBehind) {
    startWithDefaultQueue();
    for (const bool cancelFirst : {true, false}) {
        SCOPED_TRACE(cancelFirst ? "cancelled" : "closed without ending");
        const Spooler::Handle printer = spooler.openPrinter(kQueue);
        ASSERT_NE(printer, Spooler::kNoHandle);
        ASSERT_TRUE(spooler.startDocument(printer, "Cut short"));
        ASSERT_EQ(spooler.writeChunk(printer, bytes({0x1B, 0x19, 0x00})), 3);
        if (cancelFirst)
            spooler.cancelDocument(printer);
        spooler.closePrinter(printer);
    }
    expectNothingButAMarkerJob();
}

TEST_F(CupsPrinterOutput, AQueueThatIsNotThereDoesNotOpen) {
    startWithDefaultQueue();
    // Missing, or no name the scheduler could have (LPDEST may hold anything).
    for (const char* name :
         {"Missing", "", "Or vel", "..\\admin", "Orvel?which-jobs=all", "Orvel#", "\x01Orvel"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(spooler.openPrinter(name), Spooler::kNoHandle);
    }
    const std::string tooLong(128, 'O');
    EXPECT_EQ(spooler.openPrinter(tooLong), Spooler::kNoHandle);
    const Spooler::Handle instance = spooler.openPrinter(std::string(kQueue) + "/draft");
    EXPECT_NE(instance, Spooler::kNoHandle);
    spooler.closePrinter(instance);
    const Spooler::Handle printer = spooler.openPrinter(kQueue);
    EXPECT_NE(printer, Spooler::kNoHandle);
    EXPECT_EQ(spooler.queuedJobs(printer), 0);
    spooler.closePrinter(printer);
}

}  // namespace
}  // namespace orvel
