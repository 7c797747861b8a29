// The printer output against a scheduler that accepts connections and never answers: every
// command ends in time with the message for a scheduler that can't be reached, and sends
// nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "printer/commands/FeaturesPage.h"
#include "printer/commands/mdlFlagSettings.h"
#include "printer/cups/CupsSpooler.h"
#include "printer/job/Messages.h"
#include "tests/cups/CupsSandbox.h"
#include "tests/cups/spooler/SilentScheduler.h"
#include "tests/support/FakeServices.h"

namespace orvel {
namespace {

using test::CupsSandbox;
using test::RecordingSleep;
using test::ScriptedMessageBox;
using test::SilentScheduler;
using Clock = std::chrono::steady_clock;

constexpr char kQueue[] = "Orvel";

// The most a command may take on a silent scheduler, from the user's confirmation on.
constexpr std::chrono::seconds kCommandBound{15};

// Points libcups on this thread at another scheduler while it lives.
class ServerOverride {
public:
    explicit ServerOverride(const std::string& server) { cupsSetServer(server.c_str()); }
    ~ServerOverride() { cupsSetServer(std::getenv("CUPS_SERVER")); }
    ServerOverride(const ServerOverride&) = delete;
    ServerOverride& operator=(const ServerOverride&) = delete;
};

struct CommandRun {
    std::optional<RawJobOutcome> outcome;  // none: the command doesn't return one
    std::vector<test::ShownMessage> shown;
    std::vector<int> pauses;
    Clock::duration took{};
};

using Command = std::function<std::optional<RawJobOutcome>(PrinterServices&)>;

CommandRun runCommand(Spooler& spooler, const Command& command) {
    ScriptedMessageBox messageBox;
    RecordingSleep sleep;
    PrinterServices services{spooler, messageBox, sleep};
    CommandRun run;
    const Clock::time_point start = Clock::now();
    run.outcome = command(services);
    run.took = Clock::now() - start;
    run.shown = messageBox.shown;
    run.pauses = sleep.pauses;
    return run;
}

std::optional<RawJobOutcome> applySettings(PrinterServices& services) {
    NoIdleControls controls;
    const FlagSettings zeros{};
    mdlFlagSettings::fncDownloadSettings(services, controls, mdlFlagSettings::kApplySettings,
                                         &zeros);
    return std::nullopt;
}

std::optional<RawJobOutcome> printFeatures(PrinterServices& services) {
    return fncSendRawJob(services, kFeaturesDocumentName, featuresPageChunks(), BusyCheck::Off);
}

// The settings download as fncDownloadSettings hands it over, to see its outcome.
std::optional<RawJobOutcome> sendSettings(PrinterServices& services) {
    return fncSendRawJob(
        services, mdlFlagSettings::kDownloadDocumentName,
        {mdlFlagSettings::fncDownloadCommand(mdlFlagSettings::kRestoreDefaults, nullptr)},
        BusyCheck::On);
}

void expectOnly(const CommandRun& run, const Message& expected) {
    ASSERT_EQ(run.shown.size(), 1u);
    EXPECT_EQ(run.shown[0].text, expected.text());
    EXPECT_EQ(run.shown[0].title, expected.title);
}

double seconds(Clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

TEST(SilentScheduler, EachCommandEndsInTimeAsForASchedulerThatCantBeReached) {
    // Only for its environment: no lpoptions, no LPDEST; its scheduler never starts.
    CupsSandbox environment;
    SilentScheduler silent;
    ServerOverride pointed(silent.address());
    struct Case {
        const char* what;
        const char* lpdest;  // nullptr: the scheduler is asked for its default
        Command command;
    };
    const std::vector<Case> cases = {
        {"Apply Settings, the default named by LPDEST", kQueue, applySettings},
        {"Print Features, the scheduler asked for the default", nullptr, printFeatures},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.lpdest != nullptr)
            setenv("LPDEST", c.lpdest, 1);
        else
            unsetenv("LPDEST");
        CupsSpooler spooler;
        const CommandRun run = runCommand(spooler, c.command);
        EXPECT_LT(run.took, kCommandBound) << seconds(run.took) << " s";
        expectOnly(run, messages::kOpenFailed);
        EXPECT_TRUE(run.pauses.empty());
        if (run.outcome) {
            EXPECT_EQ(*run.outcome, RawJobOutcome::NotSent);
        }
    }
    EXPECT_GT(silent.requestsSeen(), 0);
    unsetenv("LPDEST");
}

// The settings download asks the scheduler, in this order: its default printer, the printer
// (does it exist), whether its queue is stopped, how many jobs it holds, and then sends the job.
TEST(SilentScheduler, ASchedulerThatFallsSilentAtAnyRequestEndsTheDownloadInTime) {
    const std::string why = CupsSandbox::whyUnavailable();
    if (!why.empty())
        GTEST_SKIP() << why;
    CupsSandbox sandbox;
    sandbox.start();
    sandbox.addQueue(kQueue, true);
    const std::string socket = std::getenv("CUPS_SERVER");

    // Short bounds, so that the cases don't take long; the bounds are the same on every path.
    const CupsTimeouts timeouts{std::chrono::milliseconds(1000), std::chrono::milliseconds(2000)};
    // What a wait may overrun: a slice of waiting, and libcups's one second for the go-ahead to
    // send a job.
    const auto overrun = std::chrono::milliseconds(1500);
    struct Case {
        const char* silentAt;
        int answered;
        RawJobOutcome outcome;
        const Message* message;  // nullptr: none
    };
    const std::vector<Case> cases = {
        {"the default printer", 0, RawJobOutcome::NotSent, &messages::kOpenFailed},
        {"the printer", 1, RawJobOutcome::NotSent, &messages::kOpenFailed},
        {"the stopped queue", 2, RawJobOutcome::NotSent, &messages::kSendFailed},
        {"the job count", 3, RawJobOutcome::NotSent, &messages::kSendFailed},
        {"the job", 4, RawJobOutcome::NotSent, &messages::kSendFailed},
        {"nothing: every request answered", 5, RawJobOutcome::Sent, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("silent at ") + c.silentAt);
        SilentScheduler proxy(socket, c.answered);
        CommandRun run;
        {
            ServerOverride pointed(proxy.address());
            CupsSpooler spooler(timeouts);
            run = runCommand(spooler, sendSettings);
        }
        EXPECT_LT(run.took, timeouts.command() + overrun) << seconds(run.took) << " s";
        EXPECT_EQ(run.outcome, c.outcome);
        if (c.message != nullptr) {
            expectOnly(run, *c.message);
        } else {
            EXPECT_TRUE(run.shown.empty());
        }
        EXPECT_EQ(proxy.requestsSeen(), c.message != nullptr ? c.answered + 1 : c.answered);
    }
    // Only the job of the scheduler that answered everything was made, and printed.
    EXPECT_EQ(sandbox.waitForCompletedJobs(kQueue, 1).size(), 1u);
    EXPECT_TRUE(sandbox.activeJobs(kQueue).empty());
    EXPECT_EQ(sandbox.capturedJobs(kQueue).size(), 1u);
}

// As the command line runs them: one spooler per thread, each thread pointed at its own
// scheduler.
TEST(SilentScheduler, AThreadWaitingOnASilentSchedulerEndsInTimeAndHoldsUpNoOtherThread) {
    const std::string why = CupsSandbox::whyUnavailable();
    if (!why.empty())
        GTEST_SKIP() << why;
    CupsSandbox sandbox;
    sandbox.start();
    sandbox.addQueue(kQueue, true);
    SilentScheduler silent;

    const auto runOn = [](const std::string& server, CommandRun& run, Clock::time_point& ended) {
        cupsSetServer(server.c_str());
        CupsSpooler spooler;
        run = runCommand(spooler, sendSettings);
        ended = Clock::now();
        cupsSetServer(nullptr);
    };
    CommandRun silentRun;
    CommandRun answeredRun;
    Clock::time_point silentEnded;
    Clock::time_point answeredEnded;
    std::thread waiting(runOn, silent.address(), std::ref(silentRun), std::ref(silentEnded));
    std::thread answered(runOn, std::string(std::getenv("CUPS_SERVER")), std::ref(answeredRun),
                         std::ref(answeredEnded));
    waiting.join();
    answered.join();

    EXPECT_EQ(answeredRun.outcome, RawJobOutcome::Sent);
    EXPECT_TRUE(answeredRun.shown.empty());
    EXPECT_EQ(silentRun.outcome, RawJobOutcome::NotSent);
    expectOnly(silentRun, messages::kOpenFailed);
    EXPECT_LT(silentRun.took, kCommandBound);
    EXPECT_LT(answeredEnded, silentEnded);
    EXPECT_EQ(sandbox.waitForCompletedJobs(kQueue, 1).size(), 1u);
}

}  // namespace
}  // namespace orvel
