// The message box of the command line: each message of the printer output becomes one line on
// standard error, prefixed by the printer's name ("orvel005: Unable to download printer settings.
// Printer is busy with processing print jobs, please try once printer is free."), and is kept as
// the reason for the printer's result line. Nobody is asked anything: the caller has asked.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/io/Console.h"
#include "cli/report/PrinterResult.h"
#include "printer/job/Services.h"

namespace orvel::cli {

class PrinterMessageSink : public MessageBoxService {
public:
    // printerName is asked at each message: without -d the default's name is known only once
    // the printer output has looked it up.
    PrinterMessageSink(Console& console, std::function<std::string()> printerName);

    MessageAnswer show(const std::string& text, MessageButtons buttons, MessageIcon icon,
                       const std::optional<std::string>& title) override;

    // The failure the first message told of; every message of the printer output tells of one.
    std::optional<PrinterResult> heard() const { return heard_; }
    // The lines of that first message, as the window shows them.
    const std::vector<std::string>& heardLines() const { return heardLines_; }

    // The lines of a message's text.
    static std::vector<std::string> lines(const std::string& text);

    // The message's lines that hold anything, joined by one blank.
    static std::string oneLine(const std::string& text);

private:
    Console& console_;
    std::function<std::string()> printerName_;
    std::optional<PrinterResult> heard_;
    std::vector<std::string> heardLines_;
};

}  // namespace orvel::cli
