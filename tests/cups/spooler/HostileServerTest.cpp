// The CUPS backend against servers that stretch libcups's own waits: one that sends only the
// headers of its answer, one that trickles its answer a byte every half second, and one that
// never answers. Each step of the spooler (the default's lookup, everything done with one open
// printer, the listing of the queues) ends at its bound, not at twice it nor at the server's
// pleasure, and a server that answers no IPP is told as such.
#include <cups/cups.h>
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "printer/cups/CupsQueueDirectory.h"
#include "printer/cups/CupsSpooler.h"
#include "printer/cups/SchedulerConnection.h"
#include "tests/cups/CupsSandbox.h"
#include "tests/cups/spooler/HostileServer.h"

namespace orvel::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Short bounds keep the test short; the bounds are enforced the same way whatever their length.
constexpr CupsTimeouts kTimeouts{milliseconds(1500), milliseconds(2500)};
// What a step may take past its bound: the watchdog's wake-up and a loaded machine.
constexpr milliseconds kSlack{700};

enum class Step { DefaultLookup, OpenPrinter, ListQueues };

struct StepRun {
    bool failed = false;  // the step gave up, as it must against these servers
    std::string error;    // the listing's
    Clock::duration took{};
};

// On a thread of its own, as libcups keeps its server per thread.
StepRun runStep(Step step, const std::string& server) {
    cupsSetServer(server.c_str());
    StepRun run;
    const Clock::time_point start = Clock::now();
    CupsSpooler spooler(kTimeouts);
    switch (step) {
        case Step::DefaultLookup: {
            const DefaultPrinter printer = spooler.defaultPrinter();
            run.failed = printer.found && printer.name.empty();
            break;
        }
        case Step::OpenPrinter:
            run.failed = spooler.openPrinter("Orvel") == Spooler::kNoHandle;
            break;
        case Step::ListQueues: {
            const QueueListing listing = CupsQueueDirectory(kTimeouts.printer).listQueues();
            run.failed = !listing.reached;
            run.error = listing.error;
            break;
        }
    }
    run.took = Clock::now() - start;
    cupsSetServer(nullptr);
    return run;
}

milliseconds boundOf(Step step) {
    return step == Step::DefaultLookup ? kTimeouts.lookup : kTimeouts.printer;
}

double seconds(Clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

TEST(HostileServer, EveryStepEndsAtItsBoundHoweverTheServerDrawsOutItsAnswer) {
    CupsSandbox environment;  // no lpoptions, no LPDEST: the lookup asks the server
    struct Case {
        Hostility hostility;
        Step step;
        const char* what;
    };
    std::vector<Case> cases;
    for (Hostility hostility : {Hostility::Silent, Hostility::HeadersOnly, Hostility::Trickling}) {
        cases.push_back({hostility, Step::DefaultLookup, "the default's lookup"});
        cases.push_back({hostility, Step::OpenPrinter, "opening the printer"});
        cases.push_back({hostility, Step::ListQueues, "listing the queues"});
    }
    std::vector<std::unique_ptr<HostileServer>> servers;
    std::vector<std::future<StepRun>> runs;
    for (const Case& c : cases) {
        servers.push_back(std::make_unique<HostileServer>(c.hostility));
        runs.push_back(std::async(std::launch::async, runStep, c.step, servers.back()->address()));
    }
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(std::string(describe(cases[i].hostility)) + ", " + cases[i].what);
        const StepRun run = runs[i].get();
        EXPECT_TRUE(run.failed);
        EXPECT_LT(seconds(run.took), seconds(boundOf(cases[i].step) + kSlack));
        EXPECT_GT(seconds(run.took), seconds(boundOf(cases[i].step) - kSlack));
        // Given up on, not asked again on a new connection.
        EXPECT_EQ(servers[i]->connections(), 1);
        if (cases[i].step == Step::ListQueues) {
            EXPECT_EQ(run.error,
                      "the scheduler at " + servers[i]->address() + " did not answer within 2.5 s");
        }
    }
}

// libcups connects anew for the request after a refused one; that connection is bound by the
// same deadline.
TEST(HostileServer, ARequestAfterARefusedOneEndsAtTheSameDeadline) {
    HostileServer server(Hostility::RefusesThenTrickles);
    cupsSetServer(server.address().c_str());
    const Clock::time_point start = Clock::now();
    SchedulerConnection scheduler(start + kTimeouts.printer);
    for (int request = 1; request <= 2; ++request) {
        SCOPED_TRACE(request);
        EXPECT_EQ(scheduler.exchange(ippNewRequest(IPP_OP_CUPS_GET_DEFAULT), "/"), nullptr);
    }
    const Clock::duration took = Clock::now() - start;
    cupsSetServer(nullptr);
    EXPECT_LT(seconds(took), seconds(kTimeouts.printer + kSlack));
    EXPECT_GT(seconds(took), seconds(kTimeouts.printer - kSlack));
    EXPECT_EQ(server.connections(), 2);
}

TEST(HostileServer, AServerThatAnswersNoIppIsToldAsSuchWithItsPort) {
    struct Case {
        Hostility hostility;
        std::string says;
    };
    const std::vector<Case> cases = {
        {Hostility::NotHttp,
         "closed the connection without an HTTP answer, or its answer was not HTTP"},
        {Hostility::NotIpp, "answered with an IPP message that could not be read"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(describe(c.hostility));
        HostileServer server(c.hostility);
        const StepRun run = runStep(Step::ListQueues, server.address());
        EXPECT_TRUE(run.failed);
        EXPECT_EQ(run.error, "the server at " + server.address() + " " + c.says);
        EXPECT_LT(seconds(run.took), seconds(kTimeouts.printer));
    }
}

}  // namespace
}  // namespace orvel::test
