// A deadline for a socket that no peer can stretch. A thread of the process shuts the socket
// down (both ways) when the deadline passes, so that every read and every write on it returns at
// once: libcups's own time limits count only the gaps without a byte, and a server that sends one
// byte every half second, or only the headers of an answer, would otherwise hold a request for
// minutes.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>

namespace orvel {

class SocketDeadline {
public:
    using Clock = std::chrono::steady_clock;

    SocketDeadline() = default;
    ~SocketDeadline() { stop(); }
    SocketDeadline(const SocketDeadline&) = delete;
    SocketDeadline& operator=(const SocketDeadline&) = delete;

    // Watches the socket open as fd until the deadline; a socket watched before is no longer
    // watched. The watch keeps a duplicate of fd, so that the socket it shuts down is this one
    // even after fd is closed and its number given to another file. False, with errno set, when
    // the socket can't be watched (no file descriptor or thread left): the caller must not use
    // the socket then, since nothing would end its waits.
    bool watch(int fd, Clock::time_point deadline);
    // Whether fd is the socket being watched, not merely a descriptor of the same number.
    bool watches(int fd) const;
    void stop();

private:
    std::uint64_t ticket_ = 0;  // 0: nothing watched
    dev_t device_ = 0;
    ino_t inode_ = 0;
};

// While it lives, a SIGPIPE raised on this thread (a write to a socket that was shut down or
// closed by the peer) is kept from the process and thrown away: the write fails with EPIPE
// instead, and the program goes on. libcups writes without MSG_NOSIGNAL.
class BrokenPipeGuard {
public:
    BrokenPipeGuard();
    ~BrokenPipeGuard();
    BrokenPipeGuard(const BrokenPipeGuard&) = delete;
    BrokenPipeGuard& operator=(const BrokenPipeGuard&) = delete;

private:
    bool wasBlocked_ = false;
    bool wasPending_ = false;
};

}  // namespace orvel
