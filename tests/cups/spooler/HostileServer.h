// A server on 127.0.0.1 that takes every request and then misbehaves in one way, the same for
// every connection: it answers nothing, only the headers of an answer, an answer trickled one
// byte every half second, bytes that are no HTTP, or an HTTP answer that is no IPP; or it refuses
// its first request (400 Bad Request, the connection kept) and trickles its answers to the later
// ones. It runs on a thread of its own and stops when it is destroyed, or by itself after
// kLifetime.
#pragma once

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace orvel::test {

enum class Hostility { Silent, HeadersOnly, Trickling, NotHttp, NotIpp, RefusesThenTrickles };

// "silent", "headers only", ...: for test traces.
const char* describe(Hostility hostility);

class HostileServer {
public:
    static constexpr std::chrono::seconds kLifetime{40};
    static constexpr std::chrono::milliseconds kTrickleInterval{500};

    explicit HostileServer(Hostility hostility);
    ~HostileServer();
    HostileServer(const HostileServer&) = delete;
    HostileServer& operator=(const HostileServer&) = delete;

    int port() const { return port_; }
    // "127.0.0.1:port", for cupsSetServer and -h.
    std::string address() const;
    // Connections accepted so far.
    int connections() const { return connections_; }

private:
    void serve();

    Hostility hostility_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<int> connections_{0};
    int requests_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace orvel::test
