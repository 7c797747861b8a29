// The one road by which bytes reach the printer: a raw job of one document with one page on the
// system's default printer.
#pragma once

#include <string>
#include <vector>

#include "printer/job/Services.h"
#include "printer/job/Spooler.h"

namespace orvel {

enum class RawJobOutcome { Sent, PrinterBusy, NotSent };

enum class BusyCheck { Off, On };

// The services that the printer output runs on.
struct PrinterServices {
    Spooler& spooler;
    MessageBoxService& messageBox;
    SleepService& sleep;
};

// Looks up the default printer, opens it and, when the busy check is on, refuses a stopped queue
// (NotSent) and then one that holds any job (PrinterBusy); spools the chunks one write each, and
// closes the printer. Tells the user of its own failures and of a stopped queue; the caller
// tells of a busy refusal.
RawJobOutcome fncSendRawJob(PrinterServices& services, const std::string& documentName,
                            const std::vector<Bytes>& chunks, BusyCheck busyCheck);

}  // namespace orvel
