// A scheduler that demands a password: the printer output asks nobody for one. libcups's own way
// is a prompt on the terminal that waits without end, which would hang the window started from a
// terminal and every script that runs the command line.
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>

#include "printer/commands/mdlFlagSettings.h"
#include "printer/cups/CupsSpooler.h"
#include "printer/job/Messages.h"
#include "printer/job/RawJob.h"
#include "tests/cups/spooler/LoopbackListener.h"
#include "tests/support/FakeServices.h"

namespace orvel {
namespace {

using Clock = std::chrono::steady_clock;

// Longer than any command may take on a scheduler that doesn't let it in.
constexpr std::chrono::seconds kBound{20};

// Answers every request on 127.0.0.1 with "401 Unauthorized", asking for a password. It listens
// from the start and answers once told to: the child that it answers must be forked before its
// thread runs, for a thread that holds a lock of the allocator at the fork leaves that lock held
// for ever in the child.
class DemandingScheduler {
public:
    DemandingScheduler() {
        const test::LoopbackListener listener = test::listenOnLoopback();
        listener_ = listener.socket;
        port_ = listener.port;
    }
    ~DemandingScheduler() {
        stopping_ = true;
        if (thread_.joinable())
            thread_.join();
        close(listener_);
    }

    void startAnswering() {
        thread_ = std::thread([this] { serve(); });
    }
    DemandingScheduler(const DemandingScheduler&) = delete;
    DemandingScheduler& operator=(const DemandingScheduler&) = delete;

    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }

private:
    void serve() {
        static const char kAnswer[] =
            "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"CUPS\"\r\n"
            "Content-Length: 0\r\nConnection: close\r\n\r\n";
        const auto end = Clock::now() + 2 * kBound;
        while (!stopping_ && Clock::now() < end) {
            pollfd watched{listener_, POLLIN, 0};
            if (poll(&watched, 1, 50) <= 0)
                continue;
            const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0)
                continue;
            answerOnce(client, kAnswer);
            close(client);
        }
    }

    // Waits for the request's header, then refuses it.
    static void answerOnce(int client, const char* answer) {
        std::string header;
        char buffer[4096];
        const auto end = Clock::now() + std::chrono::seconds(5);
        while (header.find("\r\n\r\n") == std::string::npos && Clock::now() < end) {
            pollfd watched{client, POLLIN, 0};
            if (poll(&watched, 1, 50) <= 0)
                continue;
            const ssize_t got = read(client, buffer, sizeof buffer);
            if (got <= 0)
                return;
            header.append(buffer, static_cast<size_t>(got));
        }
        send(client, answer, std::char_traits<char>::length(answer), MSG_NOSIGNAL);
    }

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

// Run in a child whose controlling terminal is a pseudo-terminal, where libcups would prompt:
// the settings download to the demanding scheduler. Exits 0 when it ended as for a printer that
// can't be reached, with that one message and nothing sent.
[[noreturn]] void downloadInChild(const std::string& server) {
    setenv("LPDEST", "Orvel", 1);
    cupsSetServer(server.c_str());
    CupsSpooler spooler;
    test::ScriptedMessageBox messageBox;
    test::RecordingSleep sleep;
    PrinterServices services{spooler, messageBox, sleep};
    const RawJobOutcome outcome = fncSendRawJob(
        services, mdlFlagSettings::kDownloadDocumentName,
        {mdlFlagSettings::fncDownloadCommand(mdlFlagSettings::kRestoreDefaults, nullptr)},
        BusyCheck::On);
    const bool asUnreachable = outcome == RawJobOutcome::NotSent && messageBox.shown.size() == 1 &&
                               messageBox.shown[0].text == messages::kOpenFailed.text();
    _exit(asUnreachable ? 0 : 1);
}

struct ChildRun {
    bool ended = false;
    int status = -1;
    std::string terminal;  // all that the child wrote on its terminal
};

ChildRun runOnTerminal(DemandingScheduler& scheduler) {
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child < 0)
        throw std::runtime_error("forkpty failed");
    if (child == 0)
        downloadInChild(scheduler.address());
    scheduler.startAnswering();
    ChildRun run;
    const auto end = Clock::now() + kBound;
    char buffer[512];
    while (!run.ended && Clock::now() < end) {
        pollfd watched{terminal, POLLIN, 0};
        if (poll(&watched, 1, 50) > 0) {
            const ssize_t got = read(terminal, buffer, sizeof buffer);
            if (got > 0)
                run.terminal.append(buffer, static_cast<size_t>(got));
        }
        run.ended = waitpid(child, &run.status, WNOHANG) == child;
    }
    if (!run.ended) {
        kill(child, SIGKILL);
        waitpid(child, &run.status, 0);
    }
    close(terminal);
    return run;
}

TEST(DemandingScheduler, ThePrinterOutputAsksForNoPasswordAndEndsAsForAnUnreachablePrinter) {
    DemandingScheduler scheduler;
    const ChildRun run = runOnTerminal(scheduler);
    EXPECT_TRUE(run.ended) << "still waiting after " << kBound.count()
                           << " s; its terminal shows: " << run.terminal;
    EXPECT_EQ(run.terminal.find("Password"), std::string::npos) << run.terminal;
    ASSERT_TRUE(run.ended && WIFEXITED(run.status));
    EXPECT_EQ(WEXITSTATUS(run.status), 0)
        << "the download did not end with the open-failure message alone";
}

}  // namespace
}  // namespace orvel
