// What became of a job on one printer: the words of its result line, the keyword that --json
// gives it, and the message of the printer output that tells of it.
#pragma once

#include <optional>
#include <string>

#include "printer/job/RawJob.h"
#include "printer/job/SpoolerDetails.h"

namespace orvel::cli {

enum class PrinterResult {
    Sent,
    Busy,
    QueueStopped,
    NoSuchPrinter,
    NotAnswering,
    NeedsAuthentication,
    CannotOpen,       // opening failed, and the spooler does not tell why
    NoPrinter,        // no default printer is set up
    SendFailed,       // withdrawn or refused: the printer receives nothing
    SendUnconfirmed,  // handed over whole without an answer: the job may still arrive
    NoMatch,          // a pattern that no queue's name matches
    NotListed,        // a pattern on a scheduler that did not list its queues
    Failed,
};

// "sent", "not sent: busy", ...: stable words for scripts, listed in the manual.
std::string resultWords(PrinterResult result);
// "sent", "busy", "no-such-printer", ...: the keyword of --json.
std::string resultKeyword(PrinterResult result);

// The result that a message of the printer output tells of; none for a message it doesn't know.
std::optional<PrinterResult> resultToldBy(const std::string& messageText);

// A failure that a message told of decides; otherwise the outcome, where there is one.
PrinterResult resultOf(std::optional<RawJobOutcome> outcome, std::optional<PrinterResult> told);

// A failure made precise by what the spooler tells of it; a spooler that tells nothing leaves a
// failed open as it is and a failed send as one whose job may still arrive.
PrinterResult refinedBy(PrinterResult result, const SpoolerDetails* details);

// The words of a job's state once --wait has waited for it: "completed", "aborted", ...
std::string jobStateWords(JobState state);

}  // namespace orvel::cli
