// A run of many printers on a scheduler that takes connections and never answers ends within a
// bound that does not grow with the number of printers, and still gives every printer its
// result line, in the order named.
#include <gtest/gtest.h>

#include <future>

#include "tests/cli/ProgramRun.h"
#include "tests/cups/spooler/SilentScheduler.h"
#include "tests/support/TextLines.h"

namespace orvel::test {
namespace {

// What a run on a silent scheduler may take, however many printers it has.
constexpr double kRunBoundSeconds = 20;

TEST(FleetOnASilentScheduler, AHundredPrintersEndInTimeEachWithItsLineInOrder) {
    const SilentScheduler silent;
    const std::string uriStart = "ipp://" + silent.address() + "/printers/";
    std::vector<std::string> byName = {"restore", "-h", silent.address()};
    std::vector<std::string> byUri = {"apply", "--json"};
    std::vector<std::string> expectedByName;
    std::vector<std::string> expectedByUri;
    // The pattern's queues can't be listed: its line comes first, then the named printers.
    byUri.insert(byUri.end(), {"-d", uriStart + "branch*"});
    expectedByUri.push_back("{\"printer\":\"" + uriStart +
                            "branch*\",\"result\":\"not sent\",\"reason\":\"not-answering\","
                            "\"job\":null,\"job_state\":null,\"message\":[]");
    for (int i = 1; i <= 100; ++i) {
        const std::string queue = "orvel" + std::to_string(i);
        byName.insert(byName.end(), {"-d", queue});
        expectedByName.push_back(queue + ": not sent: scheduler not answering");
        byUri.insert(byUri.end(), {"-d", uriStart + queue});
        expectedByUri.push_back("{\"printer\":\"" + uriStart + queue +
                                "\",\"result\":\"not sent\",\"reason\":\"not-answering\","
                                "\"job\":null,\"job_state\":null,\"message\":[\"OpenPrinter "
                                "Falied!!!\",\"Unable to access printer\"]");
    }
    auto uriRun = std::async(std::launch::async, [&] { return runProgram(byUri); });
    const ProgramRun named = runProgram(byName);
    const ProgramRun uris = uriRun.get();

    EXPECT_EQ(named.status, 1) << named.err;
    EXPECT_LT(named.elapsed.count(), kRunBoundSeconds);
    EXPECT_EQ(linesOf(named.out), expectedByName);

    EXPECT_EQ(uris.status, 1) << uris.err;
    EXPECT_LT(uris.elapsed.count(), kRunBoundSeconds);
    std::vector<std::string> withoutTimes;
    for (const std::string& line : linesOf(uris.out))
        withoutTimes.push_back(line.substr(0, line.find(",\"time\":")));
    EXPECT_EQ(withoutTimes, expectedByUri);
    EXPECT_GE(silent.requestsSeen(), 1);
}

}  // namespace
}  // namespace orvel::test
