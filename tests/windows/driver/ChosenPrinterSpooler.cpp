#include "ChosenPrinterSpooler.h"

#include <utility>

namespace orvel::windriver {

ChosenPrinterSpooler::ChosenPrinterSpooler(Spooler& system, std::optional<std::string> chosen)
    : system_(system), chosen_(std::move(chosen)), printerName_(chosen_.value_or("")) {}

DefaultPrinter ChosenPrinterSpooler::defaultPrinter() {
    if (chosen_)
        return {true, *chosen_};
    const DefaultPrinter found = system_.defaultPrinter();
    printerName_ = found.found ? found.name : std::string();
    return found;
}

Spooler::Handle ChosenPrinterSpooler::openPrinter(const std::string& name) {
    return system_.openPrinter(name);
}

long ChosenPrinterSpooler::queuedJobs(Handle printer) {
    return system_.queuedJobs(printer);
}

bool ChosenPrinterSpooler::queueStopped(Handle printer) {
    return system_.queueStopped(printer);
}

bool ChosenPrinterSpooler::startDocument(Handle printer, const std::string& documentName) {
    return system_.startDocument(printer, documentName);
}

bool ChosenPrinterSpooler::startPage(Handle printer) {
    return system_.startPage(printer);
}

long ChosenPrinterSpooler::writeChunk(Handle printer, const Bytes& chunk) {
    return system_.writeChunk(printer, chunk);
}

bool ChosenPrinterSpooler::endPage(Handle printer) {
    return system_.endPage(printer);
}

bool ChosenPrinterSpooler::endDocument(Handle printer) {
    return system_.endDocument(printer);
}

void ChosenPrinterSpooler::cancelDocument(Handle printer) {
    system_.cancelDocument(printer);
}

void ChosenPrinterSpooler::closePrinter(Handle printer) {
    system_.closePrinter(printer);
}

}  // namespace orvel::windriver
