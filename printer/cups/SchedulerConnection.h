// One connection to the CUPS scheduler whose requests all end by one deadline, however the
// scheduler behaves: one that accepts the connection and never answers is given up on when the
// deadline passes, not after libcups's own waits of a minute per read.
#pragma once

#include <cups/cups.h>

#include <chrono>
#include <string>

namespace orvel {

class SchedulerConnection {
public:
    using Clock = std::chrono::steady_clock;

    // Connects to the scheduler that libcups points this thread at (cupsServer, ippPort) within
    // the time left until the deadline. Check usable() before relying on it. A scheduler that
    // asks for a password is given none: its request fails instead of waiting on a prompt.
    explicit SchedulerConnection(Clock::time_point deadline);
    ~SchedulerConnection();
    SchedulerConnection(const SchedulerConnection&) = delete;
    SchedulerConnection& operator=(const SchedulerConnection&) = delete;

    // Connected, and not given up on. A request that ran out of time closes the connection, so
    // that a late answer can't be taken for the answer to a later request.
    bool usable() const { return http_ != nullptr; }

    // Sends the request (which it deletes) and returns the response, or nullptr when none came
    // in time or the exchange failed. The caller deletes the response.
    ipp_t* exchange(ipp_t* request, const std::string& resource);

    // A request whose document data follow in pieces: begin, write each piece, then finish.
    // Ending the connection before finish() makes the scheduler throw the request away.
    bool beginStreamedRequest(ipp_t* request, const std::string& resource);
    bool writeStreamedData(const char* data, size_t size);
    // The response to the streamed request, or nullptr as for exchange().
    ipp_t* finishStreamedRequest(const std::string& resource);

private:
    static int keepWaiting(http_t* http, void* self);
    void waitUntilDeadline();
    double secondsLeft() const;
    bool timeLeft() const;
    // Closes the connection when the deadline has passed, so that nothing waits any longer.
    void closeIfOutOfTime();

    Clock::time_point deadline_;
    http_t* http_ = nullptr;
};

}  // namespace orvel
