// A printer that can't be reached for a cause on this computer's side (the program has run out of
// file descriptors): the printer output's message keeps its words, and the cause follows it on
// standard error, under the printer's name.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "cli/command/Invocation.h"
#include "cli/fleet/Fleet.h"
#include "cli/fleet/PrinterJob.h"
#include "cli/io/Console.h"
#include "cli/targets/TargetPlan.h"

namespace orvel::cli {
namespace {

const char kNoDescriptorLeft[] =
    "this program has run out of file descriptors (Too many open files)";

// A backend that can't open any printer, for want of file descriptors or for no said cause.
class UnreachableSpooler : public Spooler {
public:
    explicit UnreachableSpooler(std::string cause) : cause_(std::move(cause)) {}

    DefaultPrinter defaultPrinter() override { return {true, "Orvel"}; }
    Handle openPrinter(const std::string&) override { return kNoHandle; }
    long queuedJobs(Handle) override { return 0; }
    bool queueStopped(Handle) override { return false; }
    bool startDocument(Handle, const std::string&) override { return false; }
    bool startPage(Handle) override { return false; }
    long writeChunk(Handle, const Bytes&) override { return -1; }
    bool endPage(Handle) override { return false; }
    bool endDocument(Handle) override { return false; }
    void cancelDocument(Handle) override {}
    void closePrinter(Handle) override {}
    std::string localFailure() override { return cause_; }

private:
    std::string cause_;
};

TEST(LocalFailure, TheCauseFollowsTheOpenFailureMessageUnderThePrintersName) {
    struct Case {
        const char* what;
        std::string cause;
        std::string err;
    };
    const std::vector<Case> cases = {
        {"out of file descriptors", kNoDescriptorLeft,
         std::string("q1: OpenPrinter Falied!!! Unable to access printer\nq1: ") +
             kNoDescriptorLeft + "\n"},
        {"no cause on this side", "", "q1: OpenPrinter Falied!!! Unable to access printer\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Platform platform;
        platform.newSpooler = [&c] { return std::make_unique<UnreachableSpooler>(c.cause); };
        platform.pause = [](int) {};
        std::ostringstream out;
        std::ostringstream err;
        Console console(out, err, false);
        Invocation invocation;
        invocation.printers = {"q1"};
        const TargetReading targets = planTargets(invocation, platform);
        ASSERT_TRUE(targets.ok()) << targets.error;
        const std::vector<PrinterReport> reports =
            Fleet(platform, console, {}).send(PrinterJob::restoreDefaults(), targets.plan);
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0].result, PrinterResult::CannotOpen);
        EXPECT_EQ(out.str(), "q1: not sent: cannot open\n");
        EXPECT_EQ(err.str(), c.err);
    }
}

}  // namespace
}  // namespace orvel::cli
