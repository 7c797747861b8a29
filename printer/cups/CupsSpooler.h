// The spooler on Linux and macOS: CUPS, reached through libcups.
#pragma once

#include <cups/cups.h>

#include <map>
#include <string>

#include "printer/Spooler.h"

namespace orvel {

// Each open printer has its own connection to the scheduler. A document is one Print-Job
// request of raw data under the document name, streamed one write per chunk. The scheduler
// makes the job only once the whole request has arrived, so a document that is withdrawn, or
// whose connection breaks, leaves no job behind and nothing of it reaches the printer.
class CupsSpooler : public Spooler {
public:
    CupsSpooler() = default;
    CupsSpooler(const CupsSpooler&) = delete;
    CupsSpooler& operator=(const CupsSpooler&) = delete;
    ~CupsSpooler() override;

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

private:
    struct Connection {
        http_t* http = nullptr;
        std::string name;  // the queue, as the scheduler knows it
        bool documentOpen = false;
        long bytesWritten = 0;
    };

    Connection* find(Handle printer);
    void abandonDocument(Connection& connection);

    std::map<Handle, Connection> connections_;
    Handle nextHandle_ = 1;
};

}  // namespace orvel
