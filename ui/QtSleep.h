#pragma once

#include "printer/Services.h"

namespace orvel {

// Blocks the user-interface thread for real: no events are processed meanwhile.
class QtSleep : public SleepService {
public:
    void sleep(int milliseconds) override;
};

}  // namespace orvel
