// One connection to the CUPS scheduler whose requests all end by one deadline, however the
// scheduler behaves: one that accepts the connection and never answers, answers only its headers
// or trickles its answer a byte at a time is given up on when the deadline passes. The deadline is
// kept outside libcups (SocketDeadline): libcups's own waits start again with every byte.
#pragma once

#include <cups/cups.h>

#include <chrono>
#include <string>

#include "printer/cups/SocketDeadline.h"

namespace orvel {

class SchedulerConnection {
public:
    using Clock = std::chrono::steady_clock;

    // Connects to the scheduler that libcups points this thread at (cupsServer, ippPort) within
    // the time left until the deadline. Check usable() before relying on it. A scheduler that
    // asks for a password is given none: its request fails instead of waiting on a prompt. (The
    // deadline can't bound the look-up of a host name, which the system's resolver does.)
    explicit SchedulerConnection(Clock::time_point deadline);
    ~SchedulerConnection();
    SchedulerConnection(const SchedulerConnection&) = delete;
    SchedulerConnection& operator=(const SchedulerConnection&) = delete;

    // Connected, and not given up on. A request that ran out of time closes the connection, so
    // that a late answer can't be taken for the answer to a later request.
    bool usable() const { return http_ != nullptr; }
    // Whether the deadline has passed: a request that failed then failed for want of time.
    bool outOfTime() const { return !timeLeft(); }
    // Why the connection could not be made on this computer's side (no file descriptor or thread
    // left), in words; empty when nothing of the kind happened.
    const std::string& localFailure() const { return localFailure_; }
    // The HTTP status of the last answer, HTTP_STATUS_ERROR when none could be read.
    http_status_t httpStatus() const;
    // The content type of the last answer; empty when none came.
    std::string answerType() const;

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
    // Before each call: false when the connection is given up on; the socket is watched and
    // libcups's waits set. A new request first connects anew where libcups would.
    bool startCall(bool newRequest);
    void connect();
    void connectAfreshIfLibcupsWould();
    // Watches the socket that libcups uses now, which is a new one after libcups reconnected;
    // closes the connection when it can't be watched.
    void watchSocket();
    void closeConnection();
    void noteLocalFailure(int error);
    double secondsLeft() const;
    bool timeLeft() const;
    // Closes the connection when the deadline has passed, so that nothing waits any longer.
    void closeIfOutOfTime();

    Clock::time_point deadline_;
    http_t* http_ = nullptr;
    SocketDeadline socketDeadline_;
    std::string localFailure_;
};

}  // namespace orvel
