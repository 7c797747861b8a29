// The queues that a spooler offers, with their state and how many jobs each holds: what a person
// looks at before choosing printers by name. One backend per platform.
#pragma once

#include <string>
#include <vector>

namespace orvel {

enum class QueueState { Idle, Processing, Stopped, Unknown };

struct QueueInfo {
    std::string name;
    QueueState state = QueueState::Unknown;
    long jobs = 0;  // queued jobs of every user, the printing one included
};

struct QueueListing {
    bool reached = false;  // false: the spooler did not answer; error says why
    std::vector<QueueInfo> queues;
    std::string error;
    // Not reached because no answer came in time or none could be reached, rather than because
    // of the answer that came.
    bool notAnswering = false;
};

class QueueDirectory {
public:
    virtual ~QueueDirectory() = default;
    virtual QueueListing listQueues() = 0;
};

}  // namespace orvel
