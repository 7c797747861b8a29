// The queues of a CUPS scheduler, in one request.
#pragma once

#include <chrono>

#include "printer/cups/CupsSpooler.h"
#include "printer/job/QueueDirectory.h"

namespace orvel {

class CupsQueueDirectory : public QueueDirectory {
public:
    // Connecting and every wait for the answer are bounded by this: by default the most that
    // one job of the spooler waits.
    explicit CupsQueueDirectory(std::chrono::milliseconds timeout = kCupsTimeouts.command())
        : timeout_(timeout) {}

    QueueListing listQueues() override;

private:
    std::chrono::milliseconds timeout_;
};

}  // namespace orvel
