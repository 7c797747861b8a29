// What became of a job on one printer, and the words the result line gives it.
#pragma once

#include <optional>
#include <string>

#include "printer/job/RawJob.h"

namespace orvel::cli {

enum class PrinterResult { Sent, Busy, QueueStopped, CannotOpen, NoPrinter, SendFailed, Failed };

// "sent", "not sent: busy", ...: stable words for scripts, listed in the manual.
std::string resultWords(PrinterResult result);

// The result that a message of the printer output tells of; none for a message it doesn't know.
std::optional<PrinterResult> resultToldBy(const std::string& messageText);

// A failure that a message told of decides; otherwise the outcome, where there is one.
PrinterResult resultOf(std::optional<RawJobOutcome> outcome, std::optional<PrinterResult> told);

}  // namespace orvel::cli
