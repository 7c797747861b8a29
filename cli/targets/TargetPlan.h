// The printers of one run, in the order they were named, each with the scheduler that serves it:
// the -d words read, printers named twice refused, and each pattern replaced by the queues of its
// scheduler that match it. The schedulers' queues are listed here, all at once, and only for
// patterns.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "cli/command/Invocation.h"
#include "cli/io/Platform.h"
#include "cli/report/PrinterResult.h"
#include "cli/targets/PrinterWord.h"

namespace orvel::cli {

struct Target {
    // As the user named it (a pattern's match by its queue's name, in the pattern's form); empty:
    // the default printer.
    std::string label;
    // What the spooler opens: the name or URI; none: the default printer.
    std::optional<std::string> printerName;
    std::size_t scheduler = 0;
    // A result known before anything is sent (a pattern that matches nothing), and the message
    // line that tells why.
    std::optional<PrinterResult> decided;
    std::string decidedWhy;
};

struct TargetPlan {
    // [0] is the scheduler that -h, -E and -U choose; each other one a URI's.
    std::vector<SchedulerChoice> schedulers;
    // Schedulers that did not answer while their queues were listed.
    std::vector<bool> notAnswering;
    std::vector<Target> targets;
};

struct TargetReading {
    TargetPlan plan;
    std::string error;  // a usage error: nothing is sent anywhere

    bool ok() const { return error.empty(); }
};

// First every word is read and checked (usage errors, nothing asked of a spooler), then the
// patterns' schedulers are listed.
TargetReading planTargets(const Invocation& invocation, const Platform& platform);

}  // namespace orvel::cli
