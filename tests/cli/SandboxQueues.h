// Many capture queues on a private scheduler at once, and jobs held in a queue: what the fleet
// tests and the fleet benchmark need beyond tools/cups-sandbox.
#pragma once

#include <string>
#include <vector>

#include "tests/cups/CupsSandbox.h"

namespace orvel::test {

// Adds raw queues whose jobs land where tools/cups-sandbox's own queues put them
// (FOLDER/capture/NAME/N.raw), in one connection: a few milliseconds a queue instead of a few
// hundred for a run of lpadmin each.
void addCaptureQueues(CupsSandbox& sandbox, const std::vector<std::string>& names);

// Puts a job in the queue that waits there until released: the queue is busy but not stopped.
void holdJob(const std::string& queue, const std::string& title);

// "stem01", "stem02", ...: count names, numbered with two digits at least.
std::vector<std::string> queueNames(const std::string& stem, int count);

}  // namespace orvel::test
