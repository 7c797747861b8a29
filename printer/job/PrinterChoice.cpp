#include "printer/job/PrinterChoice.h"

#include <utility>

namespace orvel {

PrinterChoice::PrinterChoice(Spooler& backend, std::optional<std::string> chosen)
    : backend_(backend), chosen_(std::move(chosen)) {}

std::string PrinterChoice::printerName() const {
    if (chosen_)
        return *chosen_;
    return answered_.found ? answered_.name : std::string();
}

DefaultPrinter PrinterChoice::defaultPrinter() {
    if (chosen_)
        return {true, *chosen_};
    answered_ = backend_.defaultPrinter();
    return answered_;
}

Spooler::Handle PrinterChoice::openPrinter(const std::string& name) {
    return backend_.openPrinter(name);
}

long PrinterChoice::queuedJobs(Handle printer) {
    return backend_.queuedJobs(printer);
}

bool PrinterChoice::queueStopped(Handle printer) {
    return backend_.queueStopped(printer);
}

bool PrinterChoice::startDocument(Handle printer, const std::string& documentName) {
    return backend_.startDocument(printer, documentName);
}

bool PrinterChoice::startPage(Handle printer) {
    return backend_.startPage(printer);
}

long PrinterChoice::writeChunk(Handle printer, const Bytes& chunk) {
    return backend_.writeChunk(printer, chunk);
}

bool PrinterChoice::endPage(Handle printer) {
    return backend_.endPage(printer);
}

bool PrinterChoice::endDocument(Handle printer) {
    return backend_.endDocument(printer);
}

void PrinterChoice::cancelDocument(Handle printer) {
    backend_.cancelDocument(printer);
}

void PrinterChoice::closePrinter(Handle printer) {
    backend_.closePrinter(printer);
}

std::string PrinterChoice::localFailure() {
    return backend_.localFailure();
}

}  // namespace orvel
