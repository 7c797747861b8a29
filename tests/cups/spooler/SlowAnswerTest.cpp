// A scheduler that is slow, not silent: each answer's body comes a while after its header, as
// when the scheduler is busy starting other jobs. Every job must still go through, and be told
// as sent, well within the bounds.
#include <cups/cups.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <optional>
#include <thread>
#include <vector>

#include "printer/commands/mdlFlagSettings.h"
#include "printer/cups/CupsSpooler.h"
#include "tests/cups/CupsSandbox.h"
#include "tests/support/FakeServices.h"

namespace orvel {
namespace {

using test::CupsSandbox;

constexpr std::chrono::milliseconds kBodyDelay{600};

int listenOn(const std::string& path) {
    const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 16) != 0)
        ADD_FAILURE() << "cannot listen on " << path;
    return listener;
}

int connectTo(const std::string& path) {
    const int connection = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    if (connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        ADD_FAILURE() << "cannot reach " << path;
    return connection;
}

bool sendAll(int to, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t sent = send(to, data, size, MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

// Passes everything between the client and the real scheduler, but holds back the body of each
// final answer ("HTTP/1.1 200 ...") for kBodyDelay after its header. Stops when destroyed, or by
// itself after half a minute.
class SlowBodyRelay {
public:
    SlowBodyRelay(std::string path, std::string upstream)
        : path_(std::move(path)), upstream_(std::move(upstream)), listener_(listenOn(path_)) {
        thread_ = std::thread([this] { acceptUntilStopped(); });
    }
    ~SlowBodyRelay() {
        stopping_ = true;
        thread_.join();
        for (std::thread& pump : pumps_)
            pump.join();
        close(listener_);
        unlink(path_.c_str());
    }

private:
    void acceptUntilStopped() {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!stopping_ && std::chrono::steady_clock::now() < end) {
            pollfd ready{listener_, POLLIN, 0};
            if (poll(&ready, 1, 50) != 1)
                continue;
            const int client = accept(listener_, nullptr, nullptr);
            if (client < 0)
                continue;
            const int server = connectTo(upstream_);
            pumps_.emplace_back([this, client, server] { relay(client, server); });
        }
    }

    // What a connection's answer has shown of itself so far.
    struct Answer {
        bool inHeader = true;
        std::string header;
    };

    void relay(int client, int server) {
        Answer answer;
        bool stop = false;
        while (!stopping_ && !stop) {
            pollfd ends[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
            if (poll(ends, 2, 50) <= 0)
                continue;
            char buffer[4096];
            if (ends[0].revents != 0) {
                const ssize_t got = recv(client, buffer, sizeof buffer, 0);
                stop = got <= 0 || !sendAll(server, buffer, static_cast<size_t>(got));
                answer.inHeader = true;  // a request: its answer begins with a header
            }
            if (!stop && ends[1].revents != 0) {
                const ssize_t got = recv(server, buffer, sizeof buffer, 0);
                stop = got <= 0 || !passAnswer(client, buffer, static_cast<size_t>(got), answer);
            }
        }
        close(client);
        close(server);
    }

    // Passes the header of the final answer, waits, then passes its body. The go-ahead
    // ("HTTP/1.1 100 Continue") before it passes at once.
    static bool passAnswer(int client, const char* data, size_t size, Answer& answer) {
        if (!answer.inHeader)
            return sendAll(client, data, size);
        for (size_t i = 0; i < size; ++i) {
            answer.header += data[i];
            const std::string& header = answer.header;
            if (header.size() < 4 || header.compare(header.size() - 4, 4, "\r\n\r\n") != 0)
                continue;
            if (header.rfind("HTTP/1.1 100", 0) == 0) {
                answer.header.clear();
                continue;
            }
            answer.inHeader = false;
            answer.header.clear();
            if (!sendAll(client, data, i + 1))
                return false;
            std::this_thread::sleep_for(kBodyDelay);
            return sendAll(client, data + i + 1, size - i - 1);
        }
        return sendAll(client, data, size);
    }

    std::string path_;
    std::string upstream_;
    int listener_;
    std::atomic<bool> stopping_{false};
    std::vector<std::thread> pumps_;
    std::thread thread_;
};

TEST(SlowScheduler, AnAnswerWhoseBodyComesLateStillCountsAndTheJobIsToldAsSent) {
    const std::string why = CupsSandbox::whyUnavailable();
    if (!why.empty())
        GTEST_SKIP() << why;
    std::optional<CupsSandbox> sandbox;
    sandbox.emplace();
    sandbox->start();
    sandbox->addQueue("Orvel", true);
    // In a folder of this process's own: the sandbox's is root's.
    char folderTemplate[] = "/tmp/orvel-relay.XXXXXX";
    ASSERT_NE(mkdtemp(folderTemplate), nullptr);
    const std::string relayPath = std::string(folderTemplate) + "/slow.sock";
    struct RemovedAtEnd {
        std::string folder;
        ~RemovedAtEnd() {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        }
    } relayFolder{folderTemplate};
    SlowBodyRelay relay(relayPath, sandbox->socket());
    cupsSetServer(relayPath.c_str());

    CupsSpooler spooler;
    test::ScriptedMessageBox messageBox;
    test::RecordingSleep sleep;
    PrinterServices services{spooler, messageBox, sleep};
    NoIdleControls controls;
    const auto start = std::chrono::steady_clock::now();
    const RawJobOutcome outcome = mdlFlagSettings::fncDownloadSettings(
        services, controls, mdlFlagSettings::kRestoreDefaults, nullptr);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;

    EXPECT_EQ(outcome, RawJobOutcome::Sent);
    EXPECT_TRUE(messageBox.shown.empty()) << messageBox.shown.front().text;
    EXPECT_LT(took, kCupsTimeouts.command());
    cupsSetServer(nullptr);
    ASSERT_EQ(sandbox->waitForCompletedJobs("Orvel", 1).size(), 1u);
    EXPECT_EQ(sandbox->capturedJobs("Orvel"), std::vector<Bytes>{"\x1B\x19\x01"});
}

}  // namespace
}  // namespace orvel
