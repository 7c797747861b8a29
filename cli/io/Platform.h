// The outside world of the command line, passed in: the spooler backend, the queue listing, the
// choice of another server and the pause. main() gives the system's own; tests give doubles.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "printer/job/QueueDirectory.h"
#include "printer/job/Spooler.h"

namespace orvel::cli {

struct Platform {
    // A new backend; each thread that talks to the spooler has its own.
    std::function<std::unique_ptr<Spooler>()> newSpooler;
    std::function<std::unique_ptr<QueueDirectory>()> newQueueDirectory;
    // Points the calling thread's spooler requests at another server (-h). Empty where the
    // platform reaches other servers through printer names instead.
    std::function<void(const std::string& server)> useServer;
    // Blocks the calling thread.
    std::function<void(int milliseconds)> pause;
};

}  // namespace orvel::cli
