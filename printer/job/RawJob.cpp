#include "printer/job/RawJob.h"

#include "printer/job/Messages.h"

namespace orvel {

namespace {

// Spools the chunks as one document of one page. Stops at the first operation that fails.
bool spoolDocument(Spooler& spooler, Spooler::Handle printer, const std::string& documentName,
                   const std::vector<Bytes>& chunks) {
    if (!spooler.startDocument(printer, documentName))
        return false;
    if (!spooler.startPage(printer))
        return false;
    for (const Bytes& chunk : chunks) {
        // A short write would leave a truncated command in the printer: count it as a failure.
        if (spooler.writeChunk(printer, chunk) != static_cast<long>(chunk.size()))
            return false;
    }
    if (!spooler.endPage(printer))
        return false;
    return spooler.endDocument(printer);
}

}  // namespace

RawJobOutcome fncSendRawJob(PrinterServices& services, const std::string& documentName,
                            const std::vector<Bytes>& chunks, BusyCheck busyCheck) {
    Spooler& spooler = services.spooler;
    const DefaultPrinter printerName = spooler.defaultPrinter();
    if (!printerName.found) {
        showMessage(services.messageBox, messages::kNoPrinter);
        return RawJobOutcome::NotSent;
    }
    const Spooler::Handle printer = spooler.openPrinter(printerName.name);
    if (printer == Spooler::kNoHandle) {
        showMessage(services.messageBox, messages::kOpenFailed);
        return RawJobOutcome::NotSent;
    }
    if (busyCheck == BusyCheck::On) {
        // A stopped queue would hold the settings until somebody resumes it, perhaps days later,
        // and its jobs never clear: asked first, so that the user hears what to do about it.
        if (spooler.queueStopped(printer)) {
            spooler.closePrinter(printer);
            showMessage(services.messageBox, messages::kQueueStopped);
            return RawJobOutcome::NotSent;
        }
        // Any job in the queue counts, whatever its owner and state: settings must not land in
        // the middle of somebody's print job.
        if (spooler.queuedJobs(printer) != 0) {
            spooler.closePrinter(printer);
            return RawJobOutcome::PrinterBusy;
        }
    }
    if (!spoolDocument(spooler, printer, documentName, chunks)) {
        // Withdraw what was started, so that no partial command reaches the printer.
        spooler.cancelDocument(printer);
        spooler.closePrinter(printer);
        showMessage(services.messageBox, messages::kSendFailed);
        return RawJobOutcome::NotSent;
    }
    spooler.closePrinter(printer);
    return RawJobOutcome::Sent;
}

}  // namespace orvel
