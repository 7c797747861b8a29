#include "printer/cups/SocketDeadline.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

namespace orvel {

namespace {

using Clock = SocketDeadline::Clock;

// The one thread of the process that ends sockets at their deadlines, started with the first
// watch. It lives as long as the process: a watch may end during the process's own end.
class Watchdog {
public:
    static Watchdog& instance() {
        static Watchdog* const watchdog = new Watchdog();  // never ends, see above
        return *watchdog;
    }

    // The ticket of the new watch; 0 with errno set when there is none.
    std::uint64_t add(int fd, Clock::time_point deadline) {
        const int copy = fcntl(fd, F_DUPFD_CLOEXEC, 3);
        if (copy < 0)
            return 0;
        std::lock_guard<std::mutex> lock(mutex_);
        if (!started_ && !start()) {
            close(copy);
            errno = EAGAIN;
            return 0;
        }
        const std::uint64_t ticket = ++lastTicket_;
        watches_[ticket] = {copy, deadline, false};
        changed_.notify_one();
        return ticket;
    }

    void remove(std::uint64_t ticket) {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto it = watches_.find(ticket);
        if (it == watches_.end())
            return;
        close(it->second.socket);
        watches_.erase(it);
    }

private:
    struct Watch {
        int socket;  // our own duplicate
        Clock::time_point deadline;
        bool ended;
    };

    bool start() {
        try {
            std::thread([this] { run(); }).detach();
        } catch (const std::system_error&) {
            return false;
        }
        started_ = true;
        return true;
    }

    void run() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            const Clock::time_point now = Clock::now();
            Clock::time_point next = Clock::time_point::max();
            for (auto& [ticket, watch] : watches_) {
                if (watch.ended)
                    continue;
                if (watch.deadline <= now) {
                    shutdown(watch.socket, SHUT_RDWR);
                    watch.ended = true;
                } else if (watch.deadline < next) {
                    next = watch.deadline;
                }
            }
            if (next == Clock::time_point::max())
                changed_.wait(lock);
            else
                changed_.wait_until(lock, next);
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::uint64_t, Watch> watches_;
    std::uint64_t lastTicket_ = 0;
    bool started_ = false;
};

bool identify(int fd, dev_t& device, ino_t& inode) {
    struct stat status {};
    if (fstat(fd, &status) != 0)
        return false;
    device = status.st_dev;
    inode = status.st_ino;
    return true;
}

sigset_t brokenPipe() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGPIPE);
    return set;
}

bool brokenPipePending() {
    sigset_t pending;
    sigpending(&pending);
    return sigismember(&pending, SIGPIPE) == 1;
}

}  // namespace

bool SocketDeadline::watch(int fd, Clock::time_point deadline) {
    stop();
    dev_t device = 0;
    ino_t inode = 0;
    if (!identify(fd, device, inode))
        return false;
    ticket_ = Watchdog::instance().add(fd, deadline);
    if (ticket_ == 0)
        return false;
    device_ = device;
    inode_ = inode;
    return true;
}

bool SocketDeadline::watches(int fd) const {
    dev_t device = 0;
    ino_t inode = 0;
    return ticket_ != 0 && identify(fd, device, inode) && device == device_ && inode == inode_;
}

void SocketDeadline::stop() {
    if (ticket_ != 0)
        Watchdog::instance().remove(ticket_);
    ticket_ = 0;
}

BrokenPipeGuard::BrokenPipeGuard() {
    const sigset_t pipe = brokenPipe();
    sigset_t old;
    pthread_sigmask(SIG_BLOCK, &pipe, &old);
    wasBlocked_ = sigismember(&old, SIGPIPE) == 1;
    wasPending_ = brokenPipePending();
}

BrokenPipeGuard::~BrokenPipeGuard() {
    if (!wasPending_ && brokenPipePending()) {
        const sigset_t pipe = brokenPipe();
        const timespec now{0, 0};
        const int savedErrno = errno;
        while (sigtimedwait(&pipe, nullptr, &now) == SIGPIPE) {
        }
        errno = savedErrno;
    }
    if (!wasBlocked_) {
        const sigset_t pipe = brokenPipe();
        pthread_sigmask(SIG_UNBLOCK, &pipe, nullptr);
    }
}

}  // namespace orvel
