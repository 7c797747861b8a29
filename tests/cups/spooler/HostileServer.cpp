#include "tests/cups/spooler/HostileServer.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "tests/cups/spooler/LoopbackListener.h"

namespace orvel::test {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPollIntervalMs = 50;

// An IPP answer that goes on: version 2.0, successful-ok, request 1, the operation attributes,
// and a charset whose value is 32767 bytes long.
const std::string kEndlessIppStart = std::string("\x02\x00\x00\x00\x00\x00\x00\x01\x01\x47", 10) +
                                     std::string("\x00\x12", 2) + "attributes-charset" +
                                     std::string("\x7F\xFF", 2);

struct Client {
    int socket = -1;
    std::string request;  // until its header has come
    bool answered = false;
    std::string trickle;  // what is left to trickle
    Clock::time_point nextByte;
};

bool sendAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t sent = send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        done += static_cast<size_t>(sent);
    }
    return true;
}

const char kTrickleHeader[] =
    "HTTP/1.1 200 OK\r\nContent-Type: application/ipp\r\nTransfer-Encoding: chunked\r\n\r\n";

bool startTrickle(Client& client) {
    client.trickle = "ffff\r\n" + kEndlessIppStart + std::string(65535, 'a');
    client.nextByte = Clock::now();
    return sendAll(client.socket, kTrickleHeader);
}

// Answers the request whose header has come, the server's request-th; false when the connection
// is to end.
bool answer(Hostility hostility, int request, Client& client) {
    client.answered = true;
    switch (hostility) {
        case Hostility::Silent:
            return true;
        case Hostility::HeadersOnly:
            return sendAll(client.socket,
                           "HTTP/1.1 200 OK\r\nContent-Type: application/ipp\r\n"
                           "Content-Length: 4096\r\n\r\n");
        case Hostility::Trickling:
            return startTrickle(client);
        case Hostility::RefusesThenTrickles:
            if (request > 1)
                return startTrickle(client);
            // Ready for the connection's next request.
            client.answered = false;
            client.request.clear();
            return sendAll(client.socket, "HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n");
        case Hostility::NotHttp:
            sendAll(client.socket, "\x16\x03\x01 this is not HTTP at all\r\n\r\n");
            return false;
        case Hostility::NotIpp:
            sendAll(client.socket,
                    "HTTP/1.1 200 OK\r\nContent-Type: application/ipp\r\nContent-Length: 24\r\n"
                    "Connection: close\r\n\r\nthis is not IPP at all.\n");
            return false;
    }
    return false;
}

}  // namespace

const char* describe(Hostility hostility) {
    switch (hostility) {
        case Hostility::Silent:
            return "silent";
        case Hostility::HeadersOnly:
            return "headers only";
        case Hostility::Trickling:
            return "trickling";
        case Hostility::NotHttp:
            return "not HTTP";
        case Hostility::NotIpp:
            return "not IPP";
        case Hostility::RefusesThenTrickles:
            return "refusing, then trickling";
    }
    return "?";
}

HostileServer::HostileServer(Hostility hostility) : hostility_(hostility) {
    const LoopbackListener listener = listenOnLoopback();
    listener_ = listener.socket;
    port_ = listener.port;
    thread_ = std::thread([this] { serve(); });
}

HostileServer::~HostileServer() {
    stopping_ = true;
    thread_.join();
    close(listener_);
}

std::string HostileServer::address() const {
    return "127.0.0.1:" + std::to_string(port_);
}

void HostileServer::serve() {
    const auto end = Clock::now() + kLifetime;
    std::vector<Client> clients;
    char buffer[16384];
    while (!stopping_ && Clock::now() < end) {
        std::vector<pollfd> watched = {{listener_, POLLIN, 0}};
        for (const Client& client : clients)
            watched.push_back({client.socket, POLLIN, 0});
        poll(watched.data(), watched.size(), kPollIntervalMs);
        if (watched[0].revents != 0) {
            Client fresh;
            fresh.socket = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fresh.socket >= 0) {
                ++connections_;
                clients.push_back(fresh);
            }
        }
        for (size_t i = 0; i + 1 < watched.size(); ++i) {
            Client& client = clients[i];
            bool keep = true;
            if (watched[i + 1].revents != 0) {
                const ssize_t got = read(client.socket, buffer, sizeof buffer);
                keep = got > 0;
                if (keep && !client.answered) {
                    client.request.append(buffer, static_cast<size_t>(got));
                    if (client.request.find("\r\n\r\n") != std::string::npos)
                        keep = answer(hostility_, ++requests_, client);
                }
            }
            if (keep && !client.trickle.empty() && Clock::now() >= client.nextByte) {
                keep = sendAll(client.socket, client.trickle.substr(0, 1));
                client.trickle.erase(0, 1);
                client.nextByte += kTrickleInterval;
            }
            if (!keep) {
                close(client.socket);
                client.socket = -1;
            }
        }
        clients.erase(std::remove_if(clients.begin(), clients.end(),
                                     [](const Client& client) { return client.socket < 0; }),
                      clients.end());
    }
    for (const Client& client : clients)
        close(client.socket);
}

}  // namespace orvel::test
