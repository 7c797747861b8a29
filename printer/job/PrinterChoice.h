// The printer that a command goes to. The printer output always asks for the default printer;
// this spooler answers with a printer chosen by name instead and passes every other operation to
// the backend unchanged. Without a choice it passes the question on as well, so that the
// default is found exactly as the window finds it, and only remembers the answer.
#pragma once

#include <optional>
#include <string>

#include "printer/job/ForwardingSpooler.h"

namespace orvel {

class PrinterChoice : public ForwardingSpooler {
public:
    // No name: the system's default printer.
    PrinterChoice(Spooler& backend, std::optional<std::string> chosen);

    // The chosen name, or the default's name once it has been asked for; empty before that and
    // when no default was found.
    std::string printerName() const;

    DefaultPrinter defaultPrinter() override;

private:
    std::optional<std::string> chosen_;
    DefaultPrinter answered_;
};

}  // namespace orvel
