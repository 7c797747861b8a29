// The spooler on Windows: winspool, in its 8-bit text forms.
#pragma once

#include <map>
#include <string>

#include "printer/job/Spooler.h"

namespace orvel {

// A Handle is the printer handle that OpenPrinterA gives. A document is one spooler job of one
// page of the data type "RAW": the spooler hands the bytes to the printer as they are, whatever
// the printer's own default data type (for many drivers one that would render them).
class WinSpooler : public Spooler {
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

private:
    // The job that StartDocPrinterA made on each open printer, to withdraw it when need be.
    std::map<Handle, unsigned long> jobs_;
};

}  // namespace orvel
