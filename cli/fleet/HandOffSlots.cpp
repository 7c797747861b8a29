#include "cli/fleet/HandOffSlots.h"

namespace orvel::cli {

void HandOffSlots::acquire() {
    std::unique_lock<std::mutex> lock(mutex_);
    freed_.wait(lock, [this] { return free_ > 0; });
    --free_;
}

void HandOffSlots::release() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++free_;
    }
    freed_.notify_one();
}

void HandOffSlots::Held::release() {
    if (!held_)
        return;
    held_ = false;
    slots_.release();
}

}  // namespace orvel::cli
