// What -U, -E and ipps put on the wire, and what a scheduler that wants a password gets: a
// stand-in scheduler on 127.0.0.1 keeps the first bytes of each connection and answers with a
// canned reply, or closes the connection.
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/cli/ProgramRun.h"
#include "tests/cups/spooler/LoopbackListener.h"

namespace orvel::test {
namespace {

using Clock = std::chrono::steady_clock;

class RecordingScheduler {
public:
    static constexpr std::chrono::seconds kLifetime{20};

    // answer: sent once a request's header has come; empty: the connection is closed then.
    explicit RecordingScheduler(std::string answer) : answer_(std::move(answer)) {
        const LoopbackListener listener = listenOnLoopback();
        listener_ = listener.socket;
        port_ = listener.port;
        thread_ = std::thread([this] { serve(); });
    }
    ~RecordingScheduler() {
        stopping_ = true;
        thread_.join();
        close(listener_);
    }
    RecordingScheduler(const RecordingScheduler&) = delete;
    RecordingScheduler& operator=(const RecordingScheduler&) = delete;

    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
    // What the first connection brought before it was answered or closed.
    std::string firstBytes() {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_.empty() ? std::string() : seen_.front();
    }

private:
    void serve() {
        const auto end = Clock::now() + kLifetime;
        while (!stopping_ && Clock::now() < end) {
            pollfd watched{listener_, POLLIN, 0};
            if (poll(&watched, 1, 50) <= 0)
                continue;
            const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                continue;
            const std::string bytes = readRequest(client);
            {
                std::lock_guard<std::mutex> lock(mutex_);
                seen_.push_back(bytes);
            }
            if (!answer_.empty())
                send(client, answer_.data(), answer_.size(), MSG_NOSIGNAL);
            close(client);
        }
    }

    // Up to the end of the header and the start of the body that came with it, or whatever came
    // within a second when it is no HTTP (a TLS greeting).
    static std::string readRequest(int client) {
        std::string bytes;
        char buffer[4096];
        const auto end = Clock::now() + std::chrono::seconds(1);
        while (bytes.size() < 16384 && Clock::now() < end) {
            pollfd watched{client, POLLIN, 0};
            if (poll(&watched, 1, 50) <= 0) {
                if (bytes.find("\r\n\r\n") != std::string::npos)
                    break;
                continue;
            }
            const ssize_t got = read(client, buffer, sizeof buffer);
            if (got <= 0)
                break;
            bytes.append(buffer, static_cast<size_t>(got));
        }
        return bytes;
    }

    std::string answer_;
    int listener_ = -1;
    int port_ = 0;
    std::mutex mutex_;
    std::vector<std::string> seen_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

constexpr char kPasswordWanted[] =
    "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"CUPS\"\r\n"
    "Content-Length: 0\r\nConnection: close\r\n\r\n";

TEST(OnTheWire, AUserIsSentAsNamedAndASchedulerThatWantsAPasswordGetsNone) {
    RecordingScheduler scheduler(kPasswordWanted);
    const ProgramRun run = runProgram(
        {"restore", "-U", "clerk42", "-d", "ipp://" + scheduler.address() + "/printers/q1"});
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(run.out, "ipp://" + scheduler.address() +
                           "/printers/q1: not sent: authentication "
                           "needed\n");
    EXPECT_LT(run.elapsed.count(), 10.0);
    const std::string request = scheduler.firstBytes();
    EXPECT_EQ(request.rfind("POST /printers/q1 HTTP/1.1\r\n", 0), 0u) << request;
    EXPECT_NE(request.find("requesting-user-name"), std::string::npos);
    EXPECT_NE(request.find("clerk42"), std::string::npos) << "the user of -U is not in the request";
}

TEST(OnTheWire, EncryptionIsAskedForWithEAndSpokenFromTheStartWithIpps) {
    struct Case {
        const char* what;
        std::vector<std::string> options;
        const char* scheme;
        std::string firstBytes;  // how the connection must begin
        std::string holds;       // what else it must hold before it is answered
    };
    const std::vector<Case> cases = {
        {"-E asks to upgrade to TLS", {"-E"}, "ipp", "OPTIONS * HTTP/1.1\r\n", "Upgrade: TLS"},
        // A TLS handshake record: content type 22.
        {"ipps begins with TLS", {}, "ipps", "\x16\x03", "\x16\x03"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingScheduler scheduler("");
        std::vector<std::string> arguments = {"restore"};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        const std::string uri =
            std::string(c.scheme) + "://" + scheduler.address() + "/printers/q1";
        arguments.insert(arguments.end(), {"-d", uri});
        const ProgramRun run = runProgram(arguments);
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_EQ(run.out, uri + ": not sent: scheduler not answering\n");
        const std::string first = scheduler.firstBytes();
        EXPECT_EQ(first.substr(0, c.firstBytes.size()), c.firstBytes) << first;
        EXPECT_NE(first.find(c.holds), std::string::npos) << first;
    }
}

}  // namespace
}  // namespace orvel::test
