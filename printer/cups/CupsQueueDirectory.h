// The queues of a CUPS scheduler, in one request.
#pragma once

#include "printer/QueueDirectory.h"

namespace orvel {

class CupsQueueDirectory : public QueueDirectory {
public:
    // Connecting and every wait for the answer are bounded by this.
    static constexpr int kTimeoutSeconds = 10;

    explicit CupsQueueDirectory(int timeoutSeconds = kTimeoutSeconds)
        : timeoutSeconds_(timeoutSeconds) {}

    QueueListing listQueues() override;

private:
    int timeoutSeconds_;
};

}  // namespace orvel
