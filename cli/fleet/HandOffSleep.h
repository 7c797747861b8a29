// The pause after a sent settings command, really taken: it first gives up the printer's hand-off
// slot, so that other printers are served while this one waits.
#pragma once

#include <functional>

#include "printer/job/Services.h"

namespace orvel::cli {

class HandOffSleep : public SleepService {
public:
    HandOffSleep(std::function<void()> beforePause, std::function<void(int)> pause);

    void sleep(int milliseconds) override;

private:
    std::function<void()> beforePause_;
    std::function<void(int)> pause_;
};

}  // namespace orvel::cli
