// A counting semaphore around the hand-off of jobs to the spooler: however many printers run at
// once, no more than a few connections to the scheduler are open at the same moment (a scheduler
// serves a limited number of clients). The pause after a job is taken outside it.
#pragma once

#include <condition_variable>
#include <mutex>

namespace orvel::cli {

class HandOffSlots {
public:
    explicit HandOffSlots(int count) : free_(count) {}

    void acquire();
    void release();

    // One slot, taken on construction and given back once, by release() or at the latest on
    // destruction.
    class Held {
    public:
        explicit Held(HandOffSlots& slots) : slots_(slots) { slots_.acquire(); }
        ~Held() { release(); }
        Held(const Held&) = delete;
        Held& operator=(const Held&) = delete;

        void release();

    private:
        HandOffSlots& slots_;
        bool held_ = true;
    };

private:
    std::mutex mutex_;
    std::condition_variable freed_;
    int free_;
};

}  // namespace orvel::cli
