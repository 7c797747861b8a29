// The spooler on Linux and macOS: CUPS, reached through libcups.
#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <string>

#include "printer/cups/SchedulerConnection.h"
#include "printer/job/Spooler.h"
#include "printer/job/SpoolerDetails.h"

namespace orvel {

// How long the spooler waits on a scheduler that accepts connections and then never answers,
// answers slowly or a byte at a time. Each bound covers all the requests of its step together,
// so that slow requests can't add up.
struct CupsTimeouts {
    // Finding the default printer.
    std::chrono::milliseconds lookup{4000};
    // Everything done with one open printer, from the open to the close: the printer's
    // attributes, its queue, the job and its answer.
    std::chrono::milliseconds printer{7000};

    // The most that one job (the lookup, then one printer) waits on a scheduler that is silent,
    // slow or trickles its answers: every wait ends at its bound.
    constexpr std::chrono::milliseconds command() const { return lookup + printer; }
};

inline constexpr CupsTimeouts kCupsTimeouts{};

// Each open printer has its own connection to the scheduler. A document is one Print-Job
// request of raw data under the document name, streamed one write per chunk. The scheduler
// makes the job only once the whole request has arrived, so a document that is withdrawn, or
// whose connection breaks, leaves no job behind and nothing of it reaches the printer.
//
// Every call ends within its bound (CupsTimeouts) however the scheduler answers; a request that
// runs out of time counts as failed, and the printer's later requests fail at once.
//
// Threads: an instance keeps all its state to itself, and libcups keeps its server, port, user
// and last error per thread, so one instance per thread may run alongside others, each thread
// pointed at its own scheduler by cupsSetServer. One instance must not be used by two threads
// at once. The lookup reads LPDEST, PRINTER, HOME and CUPS_SERVERROOT: don't change those while
// another thread looks up the default.
class CupsSpooler : public Spooler, public SpoolerDetails {
public:
    explicit CupsSpooler(CupsTimeouts timeouts = kCupsTimeouts) : timeouts_(timeouts) {}
    CupsSpooler(const CupsSpooler&) = delete;
    CupsSpooler& operator=(const CupsSpooler&) = delete;
    ~CupsSpooler() override = default;

    DefaultPrinter defaultPrinter() override;
    Handle openPrinter(const std::string& name) override;
    long queuedJobs(Handle printer) override;
    bool queueStopped(Handle printer) override;
    bool startDocument(Handle printer, const std::string& documentName) override;
    bool startPage(Handle printer) override;
    long writeChunk(Handle printer, const Bytes& chunk) override;
    bool endPage(Handle printer) override;
    bool endDocument(Handle printer) override;
    void cancelDocument(Handle printer) override;
    void closePrinter(Handle printer) override;
    std::string localFailure() override { return localFailure_; }

    // A printer is a queue by name, or a printer URI (ipp:// or ipps://) whose host and port
    // this thread has been pointed at; jobState() takes the same.
    OpenFailure lastOpenFailure() const override;
    SendFailure lastSendFailure() const override;
    long lastJobId() const override;
    JobState jobState(const std::string& printerName, long jobId,
                      std::chrono::milliseconds bound) override;

private:
    struct Connection {
        SchedulerConnection::Clock::time_point deadline;
        std::unique_ptr<SchedulerConnection> scheduler;
        // Where its requests go: its queue as the scheduler knows it, or the URI given.
        std::string resource;
        std::string uri;
        bool documentOpen = false;
        long bytesWritten = 0;
    };

    Connection* find(Handle printer);
    ipp_t* queueAttributes(Connection& connection, const char* attribute);
    void abandonDocument(Connection& connection);
    SchedulerConnection& schedulerOf(Connection& connection);
    void noteFailureOf(const SchedulerConnection& scheduler);

    CupsTimeouts timeouts_;
    std::map<Handle, Connection> connections_;
    std::string localFailure_;
    Handle nextHandle_ = 1;
    OpenFailure lastOpenFailure_ = OpenFailure::Unknown;
    SendFailure lastSendFailure_ = SendFailure::Unknown;
    long lastJobId_ = 0;
};

}  // namespace orvel
