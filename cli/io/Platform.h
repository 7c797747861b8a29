// The outside world of the command line, passed in: the spooler backend, the queue listing, the
// choice of a scheduler and the pause. main() gives the system's own; tests give doubles.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "cli/io/SchedulerChoice.h"
#include "printer/job/QueueDirectory.h"
#include "printer/job/Spooler.h"

namespace orvel::cli {

struct Platform {
    // A new backend; each thread that talks to the spooler has its own.
    std::function<std::unique_ptr<Spooler>()> newSpooler;
    std::function<std::unique_ptr<QueueDirectory>()> newQueueDirectory;
    // Points the calling thread's spooler requests at a scheduler (-h, a printer URI's host),
    // encrypted or not (-E, ipps), as a user (-U); a choice of nothing puts the usual back.
    // Empty where the platform reaches other servers through printer names instead.
    std::function<void(const SchedulerChoice& scheduler)> useScheduler;
    // Blocks the calling thread.
    std::function<void(int milliseconds)> pause;
};

}  // namespace orvel::cli
