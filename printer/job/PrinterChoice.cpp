#include "printer/job/PrinterChoice.h"

#include <utility>

namespace orvel {

PrinterChoice::PrinterChoice(Spooler& backend, std::optional<std::string> chosen)
    : ForwardingSpooler(&backend), chosen_(std::move(chosen)) {}

std::string PrinterChoice::printerName() const {
    if (chosen_)
        return *chosen_;
    return answered_.found ? answered_.name : std::string();
}

DefaultPrinter PrinterChoice::defaultPrinter() {
    if (chosen_)
        return {true, *chosen_};
    answered_ = ForwardingSpooler::defaultPrinter();
    return answered_;
}

}  // namespace orvel
