#include "tests/cups/spooler/SilentScheduler.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>
#include <vector>

#include "tests/cups/spooler/LoopbackListener.h"

namespace orvel::test {

namespace {

// Every request of libcups begins so; job data and IPP attributes here never hold it.
constexpr char kRequestStart[] = "POST /";
constexpr size_t kRequestStartSize = sizeof kRequestStart - 1;
constexpr int kPollIntervalMs = 50;

// One client connection and, while it is passed on, its connection to the real scheduler.
struct Link {
    int client = -1;
    int upstream = -1;
    bool silent = false;
    std::string tail;  // the last bytes from the client, for a request start split between reads
};

int connectToSocket(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return -1;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

bool sendAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t sent = send(fd, data, size, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

void closeLink(Link& link) {
    if (link.client >= 0)
        close(link.client);
    if (link.upstream >= 0)
        close(link.upstream);
    link.client = link.upstream = -1;
}

}  // namespace

SilentScheduler::SilentScheduler() : SilentScheduler(std::string(), 0) {}

SilentScheduler::SilentScheduler(std::string upstream, int answered)
    : upstream_(std::move(upstream)), answered_(answered) {
    const LoopbackListener listener = listenOnLoopback();
    listener_ = listener.socket;
    port_ = listener.port;
    thread_ = std::thread([this] { serve(); });
}

SilentScheduler::~SilentScheduler() {
    stopping_ = true;
    thread_.join();
    close(listener_);
}

std::string SilentScheduler::address() const {
    return "127.0.0.1:" + std::to_string(port_);
}

void SilentScheduler::serve() {
    const auto end = std::chrono::steady_clock::now() + kLifetime;
    std::vector<Link> links;
    char buffer[16384];

    // Passes the client's bytes on up to the first request that is not to be answered.
    const auto fromClient = [&](Link& link, const char* data, size_t size) {
        if (link.silent)
            return;
        const std::string seen = link.tail + std::string(data, size);
        size_t passed = size;
        for (size_t at = seen.find(kRequestStart); at != std::string::npos;
             at = seen.find(kRequestStart, at + 1)) {
            if (++requestsSeen_ > answered_) {
                passed = at >= link.tail.size() ? at - link.tail.size() : 0;
                link.silent = true;
                break;
            }
        }
        if (link.upstream >= 0 && passed > 0 && !sendAll(link.upstream, data, passed))
            closeLink(link);
        if (link.silent && link.upstream >= 0) {
            close(link.upstream);
            link.upstream = -1;
        }
        link.tail = seen.substr(seen.size() - std::min(seen.size(), kRequestStartSize - 1));
    };

    while (!stopping_ && std::chrono::steady_clock::now() < end) {
        std::vector<pollfd> watched = {{listener_, POLLIN, 0}};
        std::vector<std::pair<Link*, bool>> owners = {{nullptr, false}};  // (link, is client)
        for (Link& link : links) {
            watched.push_back({link.client, POLLIN, 0});
            owners.emplace_back(&link, true);
            if (link.upstream >= 0) {
                watched.push_back({link.upstream, POLLIN, 0});
                owners.emplace_back(&link, false);
            }
        }
        if (poll(watched.data(), watched.size(), kPollIntervalMs) <= 0)
            continue;
        std::vector<Link> accepted;
        for (size_t i = 0; i < watched.size(); ++i) {
            if (watched[i].revents == 0)
                continue;
            Link* link = owners[i].first;
            if (link == nullptr) {
                Link fresh;
                fresh.client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
                if (fresh.client >= 0 && !upstream_.empty())
                    fresh.upstream = connectToSocket(upstream_);
                if (fresh.client >= 0)
                    accepted.push_back(fresh);
                continue;
            }
            const int fd = owners[i].second ? link->client : link->upstream;
            if (fd < 0)
                continue;
            const ssize_t got = read(fd, buffer, sizeof buffer);
            if (got <= 0)
                closeLink(*link);
            else if (owners[i].second)
                fromClient(*link, buffer, static_cast<size_t>(got));
            else if (!sendAll(link->client, buffer, static_cast<size_t>(got)))
                closeLink(*link);
        }
        links.erase(std::remove_if(links.begin(), links.end(),
                                   [](const Link& link) { return link.client < 0; }),
                    links.end());
        links.insert(links.end(), accepted.begin(), accepted.end());
    }
    for (Link& link : links)
        closeLink(link);
}

}  // namespace orvel::test
