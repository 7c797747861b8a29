#include "cli/fleet/HandOffSleep.h"

#include <utility>

namespace orvel::cli {

HandOffSleep::HandOffSleep(std::function<void()> beforePause, std::function<void(int)> pause)
    : beforePause_(std::move(beforePause)), pause_(std::move(pause)) {}

void HandOffSleep::sleep(int milliseconds) {
    beforePause_();
    pause_(milliseconds);
}

}  // namespace orvel::cli
