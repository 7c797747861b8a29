// A spooler that records every call with its arguments and fails where a test scripts it to.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "printer/job/Spooler.h"

namespace orvel::test {

class RecordingSpooler : public Spooler {
public:
    // What the spooler answers.
    DefaultPrinter defaultAnswer{true, "Orvel"};
    bool openSucceeds = true;
    long jobsInQueue = 0;
    bool queueIsStopped = false;
    bool startDocumentSucceeds = true;
    bool startPageSucceeds = true;
    int failWriteNumber = -1;   // the write (0-based) that fails, -1 for none
    int shortWriteNumber = -1;  // the write (0-based) that writes one byte fewer
    bool endPageSucceeds = true;
    bool endDocumentSucceeds = true;
    // Run inside every write, before it returns: lets a test look at the windows mid-job.
    std::function<void(const Bytes&)> onWrite;

    // What the spooler was asked, one line per call: "open Orvel", "write 15", ...
    std::vector<std::string> calls;
    std::vector<Bytes> written;
    std::string documentName;

    DefaultPrinter defaultPrinter() override;
    Handle openPrinter(const std::string& name) override;
    long queuedJobs(Handle printer) override;
    bool queueStopped(Handle printer) override;
    bool startDocument(Handle printer, const std::string& name) override;
    bool startPage(Handle printer) override;
    long writeChunk(Handle printer, const Bytes& chunk) override;
    bool endPage(Handle printer) override;
    bool endDocument(Handle printer) override;
    void cancelDocument(Handle printer) override;
    void closePrinter(Handle printer) override;

    static constexpr Handle kHandle = 0x4f52;  // what a successful open hands out

private:
    void expectHandle(Handle printer, const char* call);
    int writes_ = 0;
};

}  // namespace orvel::test
