// A scheduler that accepts connections on 127.0.0.1, reads all that is sent to it and never
// answers: from the first request on, or only after it has passed a number of requests on to a
// real scheduler and their answers back. It runs on a thread of its own and stops when it is
// destroyed, or by itself after kLifetime.
#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace orvel::test {

class SilentScheduler {
public:
    static constexpr std::chrono::seconds kLifetime{30};

    // Answers nothing at all.
    SilentScheduler();
    // Passes the first `answered` requests to the scheduler listening on the Unix socket
    // `upstream` and their answers back, then falls silent on the connection of the next one.
    SilentScheduler(std::string upstream, int answered);
    ~SilentScheduler();
    SilentScheduler(const SilentScheduler&) = delete;
    SilentScheduler& operator=(const SilentScheduler&) = delete;

    // "127.0.0.1:port", for cupsSetServer.
    std::string address() const;
    // How many requests have begun on its connections, passed on or not.
    int requestsSeen() const { return requestsSeen_; }

private:
    void serve();

    std::string upstream_;
    int answered_ = 0;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<int> requestsSeen_{0};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace orvel::test
