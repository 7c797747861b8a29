// The printers that winspool offers, local ones and connections to shared ones.
#pragma once

#include "printer/job/QueueDirectory.h"

namespace orvel {

class WinQueueDirectory : public QueueDirectory {
public:
    QueueListing listQueues() override;
};

}  // namespace orvel
