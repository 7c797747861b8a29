#pragma once

#include "printer/job/Services.h"

namespace orvel {

// Blocks the user-interface thread for real: no event is processed meanwhile, so no input acts
// and no timer runs. The shown windows are repainted now and then, so that they stay on screen
// as they are (a message box closed just before would otherwise leave its outline behind).
class QtSleep : public SleepService {
public:
    static constexpr int kRepaintIntervalMilliseconds = 100;

    void sleep(int milliseconds) override;

private:
    static void repaintShownWindows();
};

}  // namespace orvel
