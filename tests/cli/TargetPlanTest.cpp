// The printers of a run as the -d words name them: queues, instances, printer URIs and patterns,
// each on its scheduler, a printer named twice refused before anything is sent.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "cli/targets/TargetPlan.h"

namespace orvel::cli {
namespace {

thread_local std::string serverOfThisThread;

// The queues of each scheduler by its server ("" the usual one); a scheduler that is not in
// the map does not answer, one whose queues are not listed answers with an error.
class FakeDirectory : public QueueDirectory {
public:
    explicit FakeDirectory(const std::map<std::string, std::vector<std::string>>& queues)
        : queues_(queues) {}

    QueueListing listQueues() override {
        QueueListing listing;
        const auto it = queues_.find(serverOfThisThread);
        if (it == queues_.end()) {
            listing.notAnswering = true;
            listing.error = "no answer from " + serverOfThisThread;
        } else if (it->second == std::vector<std::string>{"(refused)"}) {
            listing.error = "refused at " + serverOfThisThread;
        } else {
            listing.reached = true;
            for (const std::string& name : it->second)
                listing.queues.push_back({name, QueueState::Idle, 0});
        }
        return listing;
    }

private:
    const std::map<std::string, std::vector<std::string>>& queues_;
};

class Planning : public ::testing::Test {
protected:
    Planning() {
        platform.newQueueDirectory = [this] { return std::make_unique<FakeDirectory>(queues); };
        platform.useScheduler = [](const SchedulerChoice& scheduler) {
            serverOfThisThread = scheduler.server.value_or("");
        };
    }

    TargetReading plan(const std::vector<std::string>& printers) {
        invocation.printers = printers;
        return planTargets(invocation, platform);
    }

    // "label -> printer name @ server" for each target, or "label: result (why)".
    std::vector<std::string> described(const TargetReading& reading) {
        std::vector<std::string> lines;
        for (const Target& target : reading.plan.targets) {
            const std::string server =
                reading.plan.schedulers.at(target.scheduler).server.value_or("");
            if (target.decided)
                lines.push_back(target.label + ": " + resultWords(*target.decided) + " (" +
                                target.decidedWhy + ")");
            else
                lines.push_back(target.label + " -> " + target.printerName.value_or("(default)") +
                                " @ " + server);
        }
        return lines;
    }

    std::map<std::string, std::vector<std::string>> queues;
    Platform platform;
    Invocation invocation;
};

TEST_F(Planning, APrinterNamedTwiceIsRefusedWhateverItsCaseInstanceOrForm) {
    struct Case {
        std::vector<std::string> printers;
        std::string error;
    };
    const std::vector<Case> cases = {
        {{"orvel5", "ORVEL5"}, "printer \"ORVEL5\" named twice"},
        {{"q1", "q1/inst"}, "printer \"q1/inst\" named twice (first as \"q1\")"},
        {{"q3/i1", "q2", "q3/i10"}, "printer \"q3/i10\" named twice (first as \"q3/i1\")"},
        {{"ipp://Print.example/printers/q1", "ipp://print.example:631/printers/Q1"},
         "printer \"ipp://print.example:631/printers/Q1\" named twice (first as "
         "\"ipp://Print.example/printers/q1\")"},
    };
    for (const Case& c : cases) {
        const TargetReading reading = plan(c.printers);
        EXPECT_EQ(reading.error, c.error);
        EXPECT_TRUE(reading.plan.targets.empty());
    }
    // The same queue on another scheduler, or by ipps, is another printer.
    EXPECT_TRUE(plan({"q1", "ipp://a.example/printers/q1", "ipp://b.example/printers/q1",
                      "ipps://a.example/printers/q1", "ipp://a.example/ipp/print/q1"})
                    .ok());
}

TEST_F(Planning, AMalformedPrinterUriIsRefused) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"ipp://", "no host in the printer URI"},
        {"ipp://print.example", "no printer in the printer URI"},
        {"ipp://print.example/", "no printer in the printer URI"},
        {"ipp://print.example:70000/printers/q", "not a port in the printer URI"},
        {"ipp://print.example:x/printers/q", "not a port in the printer URI"},
        {"ipp://user@print.example/printers/q", "not a port in the printer URI"},
        {"ipp://[::1/printers/q", "not a host in the printer URI"},
        {"ipp://print.example/printers/a b", "a character that the printer URI's path cannot hold"},
        {"ipp://print.example/printers/q?x", "a character that the printer URI's path cannot hold"},
        {"ipp://print.example/ipp/print/*",
         "a pattern in a printer URI goes in a queue's name only (/printers/PATTERN)"},
    };
    for (const auto& [uri, problem] : cases)
        EXPECT_EQ(plan({uri}).error, problem + ": \"" + uri + "\"");
}

TEST_F(Planning, NamesUrisAndPatternsBecomePrintersInTheOrderNamedEachOnItsScheduler) {
    queues[""] = {"branch01", "branch02", "desk", "stock"};
    queues["two.example:631"] = {"Branch07", "hall"};
    queues["[::1]:8631"] = {"x1"};
    invocation.server = std::nullopt;
    const TargetReading reading =
        plan({"desk", "branch*", "ipp://two.example/printers/BRANCH*", "branch02/copy",
              "ipp://[::1]:8631/ipp/print/orvel", "ipps://two.example/printers/hall", "z*",
              "ipp://silent.example/printers/b*", "ipp://silent.example/printers/q9"});
    ASSERT_TRUE(reading.ok()) << reading.error;
    EXPECT_EQ(described(reading),
              (std::vector<std::string>{
                  "desk -> desk @ ",
                  // branch02 is named below, as an instance: the pattern leaves it to that.
                  "branch01 -> branch01 @ ",
                  "ipp://two.example/printers/Branch07 -> ipp://two.example/printers/Branch07 @ "
                  "two.example:631",
                  "branch02/copy -> branch02/copy @ ",
                  "ipp://[::1]:8631/ipp/print/orvel -> ipp://[::1]:8631/ipp/print/orvel @ "
                  "[::1]:8631",
                  "ipps://two.example/printers/hall -> ipps://two.example/printers/hall @ "
                  "two.example:631",
                  "z*: not sent: no queue matches (no queue of the scheduler matches \"z*\")",
                  "ipp://silent.example/printers/b*: not sent: scheduler not answering (no "
                  "answer from silent.example:631)",
                  "ipp://silent.example/printers/q9 -> ipp://silent.example/printers/q9 @ "
                  "silent.example:631",
              }));
    // ipps is a scheduler of its own, encrypted from the start; the silent one is known as such.
    ASSERT_EQ(reading.plan.schedulers.size(), 5u);
    EXPECT_TRUE(reading.plan.schedulers[3].encryptFromStart);
    EXPECT_EQ(reading.plan.notAnswering, (std::vector<bool>{false, false, false, false, true}));
}

TEST_F(Planning, APatternOnASchedulerThatRefusesTheListingSaysSo) {
    queues[""] = {"(refused)"};
    EXPECT_EQ(described(plan({"q*"})),
              std::vector<std::string>{"q*: not sent: queues not listed (refused at )"});
}

TEST_F(Planning, ChoicesOfTheCommandLineGoToEveryScheduler) {
    queues["main.example"] = {"q1"};
    invocation.server = "main.example";
    invocation.encrypt = true;
    invocation.user = "clerk";
    const TargetReading reading = plan({"q*", "ipp://two.example:8631/printers/q2"});
    ASSERT_TRUE(reading.ok()) << reading.error;
    EXPECT_EQ(described(reading),
              (std::vector<std::string>{
                  "q1 -> q1 @ main.example",
                  "ipp://two.example:8631/printers/q2 -> ipp://two.example:8631/printers/q2 @ "
                  "two.example:8631"}));
    for (const SchedulerChoice& scheduler : reading.plan.schedulers) {
        EXPECT_TRUE(scheduler.encrypt);
        EXPECT_EQ(scheduler.user, "clerk");
    }
}

// Windows names its printers \\server\printer: no URIs, and a / is part of a name.
TEST_F(Planning, WhereNoSchedulerIsChosenUrisAreRefusedAndNamesAreWhole) {
    platform.useScheduler = nullptr;
    EXPECT_TRUE(plan({"q1", "q1/inst"}).ok());
    EXPECT_EQ(plan({"ipp://print.example/printers/q1"}).error,
              "printer URIs are not available here: \"ipp://print.example/printers/q1\"");
}

TEST(Patterns, MatchAsTheShellDoesIgnoringCase) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const std::vector<Case> cases = {
        {"branch*", "branch01", true},
        {"branch*", "Branch", true},
        {"branch*", "xbranch", false},
        {"*01", "branch01", true},
        {"b?anch", "branch", true},
        {"b?anch", "banch", false},
        {"orvel[0-4]", "orvel3", true},
        {"orvel[0-4]", "orvel5", false},
        {"orvel[!0-4]", "orvel5", true},
        {"orvel[!0-4]", "orvel3", false},
        {"orvel[ab]", "ORVELB", true},
        {"*", "", true},
        {"a*b*c", "aXbYc", true},
        {"a*b*c", "aXbY", false},
        {"[", "[", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(matchesPattern(c.pattern, c.name), c.matches) << c.pattern << " " << c.name;
}

}  // namespace
}  // namespace orvel::cli
