// The spooler that passes every operation on: to its backend unchanged, and without one as a
// printer out of reach answers.
#include "printer/job/ForwardingSpooler.h"

#include <gtest/gtest.h>

#include "tests/support/RecordingSpooler.h"

namespace orvel {
namespace {

class Forwarder : public ForwardingSpooler {
public:
    explicit Forwarder(Spooler* backend = nullptr) : ForwardingSpooler(backend) {}
    using ForwardingSpooler::forwardTo;
};

// Every operation once, in the order of one job, with the answers it got.
struct Answers {
    DefaultPrinter printer;
    Spooler::Handle handle;
    long jobs;
    bool stopped, started, pageStarted;
    long written;
    bool pageEnded, ended;
};

Answers runAll(Spooler& spooler) {
    Answers a{};
    a.printer = spooler.defaultPrinter();
    a.handle = spooler.openPrinter("Orvel");
    a.jobs = spooler.queuedJobs(test::RecordingSpooler::kHandle);
    a.stopped = spooler.queueStopped(test::RecordingSpooler::kHandle);
    a.started = spooler.startDocument(test::RecordingSpooler::kHandle, "Varnet Orvel FEATURES");
    a.pageStarted = spooler.startPage(test::RecordingSpooler::kHandle);
    a.written = spooler.writeChunk(test::RecordingSpooler::kHandle, "\x1b@");
    a.pageEnded = spooler.endPage(test::RecordingSpooler::kHandle);
    a.ended = spooler.endDocument(test::RecordingSpooler::kHandle);
    spooler.cancelDocument(test::RecordingSpooler::kHandle);
    spooler.closePrinter(test::RecordingSpooler::kHandle);
    return a;
}

TEST(ForwardingSpooler, PassesEveryOperationToItsBackend) {
    test::RecordingSpooler backend;
    backend.jobsInQueue = 3;
    backend.queueIsStopped = true;
    backend.endPageSucceeds = false;
    Forwarder forwarder(&backend);
    const Answers a = runAll(forwarder);
    EXPECT_EQ(backend.calls,
              (std::vector<std::string>{"default", "open Orvel", "jobs", "stopped",
                                        "startDoc Varnet Orvel FEATURES", "startPage", "write 2",
                                        "endPage", "endDoc", "cancelDoc", "close"}));
    EXPECT_EQ(a.printer.name, "Orvel");
    EXPECT_EQ(a.handle, test::RecordingSpooler::kHandle);
    EXPECT_EQ(a.jobs, 3);
    EXPECT_TRUE(a.stopped);
    EXPECT_EQ(a.written, 2);
    EXPECT_FALSE(a.pageEnded);
}

// A default printer that is there but can't be opened: the user is told that the printer
// can't be accessed, not that none is set up.
TEST(ForwardingSpooler, WithoutABackendThePrinterIsOutOfReach) {
    Forwarder forwarder;
    const Answers a = runAll(forwarder);
    EXPECT_TRUE(a.printer.found);
    EXPECT_EQ(a.printer.name, "");
    EXPECT_EQ(a.handle, Spooler::kNoHandle);
    EXPECT_EQ(a.jobs, 0);
    EXPECT_FALSE(a.stopped || a.started || a.pageStarted || a.pageEnded || a.ended);
    EXPECT_EQ(a.written, -1);

    test::RecordingSpooler backend;
    forwarder.forwardTo(&backend);
    EXPECT_EQ(forwarder.openPrinter("Orvel"), test::RecordingSpooler::kHandle);
}

}  // namespace
}  // namespace orvel
