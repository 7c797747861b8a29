// The system's spooler, aimed at one named printer instead of the default when a name is given.
#pragma once

#include <optional>
#include <string>

#include "printer/Spooler.h"

namespace orvel::windriver {

class ChosenPrinterSpooler : public Spooler {
public:
    // Without a name the default printer is looked up as the window looks it up.
    ChosenPrinterSpooler(Spooler& system, std::optional<std::string> chosen);

    // The printer that the job was meant for, as far as it is known: the chosen one, or the
    // default once it has been looked up; empty before that or when there is none.
    const std::string& printerName() const { return printerName_; }

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
    Spooler& system_;
    std::optional<std::string> chosen_;
    std::string printerName_;
};

}  // namespace orvel::windriver
