// A spooler that passes every operation to another one, for the spoolers that stand in front of
// a backend and change only some of its answers (the printer choice). Without a backend every
// operation fails the way it fails for a printer out of reach: a default printer under no name,
// no handle, an empty queue, nothing started or written.
#pragma once

#include "printer/job/Spooler.h"

namespace orvel {

class ForwardingSpooler : public Spooler {
public:
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

protected:
    // No backend until one is given.
    explicit ForwardingSpooler(Spooler* backend = nullptr) : backend_(backend) {}

    void forwardTo(Spooler* backend) { backend_ = backend; }

private:
    Spooler* backend_;
};

}  // namespace orvel
