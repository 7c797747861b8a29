// Hands the 15-byte settings job to a private cupsd N times through fncSendRawJob (busy check
// on) and N times through `lp -o raw`, and prints both medians and their ratio. Needs root.
//
//   orvel_bench_spooler [N]        N defaults to 50
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "printer/commands/mdlFlagSettings.h"
#include "printer/cups/CupsSpooler.h"
#include "tests/cups/CupsSandbox.h"
#include "tests/support/FakeServices.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using orvel::test::CupsSandbox;

constexpr char kQueue[] = "Orvel";

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Each hand-off must find an empty queue, or the busy check would refuse it.
void waitUntilQueueEmpty(const CupsSandbox& sandbox) {
    const auto deadline = Clock::now() + CupsSandbox::kJobTimeout;
    while (!sandbox.activeJobs(kQueue).empty()) {
        if (Clock::now() > deadline)
            throw std::runtime_error("the queue does not drain");
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

double timeOurHandOff(orvel::PrinterServices& services, const orvel::Bytes& command) {
    const auto start = Clock::now();
    const auto outcome = orvel::fncSendRawJob(
        services, orvel::mdlFlagSettings::kDownloadDocumentName, {command}, orvel::BusyCheck::On);
    const double elapsed = millisecondsSince(start);
    if (outcome != orvel::RawJobOutcome::Sent)
        throw std::runtime_error("fncSendRawJob did not send");
    return elapsed;
}

double timeLp(const std::string& file) {
    std::vector<std::string> words = {
        "lp", "-s", "-o", "raw", "-t", orvel::mdlFlagSettings::kDownloadDocumentName, file};
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, "lp", nullptr, nullptr, argv.data(), environ) != 0)
        throw std::runtime_error("cannot run lp");
    int status = 0;
    waitpid(pid, &status, 0);
    const double elapsed = millisecondsSince(start);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("lp failed");
    return elapsed;
}

int run(int rounds) {
    const std::string why = CupsSandbox::whyUnavailable();
    if (!why.empty()) {
        std::cerr << "orvel_bench_spooler: " << why << "\n";
        return 1;
    }
    CupsSandbox sandbox;
    sandbox.start();
    sandbox.addQueue(kQueue, true);

    orvel::CupsSpooler spooler;
    orvel::test::ScriptedMessageBox messageBox;
    orvel::test::RecordingSleep sleep;  // stands in for the pause after a download
    orvel::PrinterServices services{spooler, messageBox, sleep};
    const orvel::FlagSettings zeros{};
    const orvel::Bytes command =
        orvel::mdlFlagSettings::fncDownloadCommand(orvel::mdlFlagSettings::kApplySettings, &zeros);
    const std::string file = sandbox.folder() + "/settings.bin";
    std::ofstream(file, std::ios::binary) << command;

    std::vector<double> ours;
    std::vector<double> lp;
    // Alternate, so that a drift of the machine weighs on both alike.
    for (int i = 0; i < rounds; ++i) {
        ours.push_back(timeOurHandOff(services, command));
        waitUntilQueueEmpty(sandbox);
        lp.push_back(timeLp(file));
        waitUntilQueueEmpty(sandbox);
    }
    const auto captured = sandbox.capturedJobs(kQueue);
    const bool allArrived =
        captured.size() == static_cast<size_t>(2 * rounds) &&
        std::all_of(captured.begin(), captured.end(), [&](const auto& c) { return c == command; });

    const double oursMedian = median(ours);
    const double lpMedian = median(lp);
    std::printf("jobs: %d each, 15 bytes, busy check on\n", rounds);
    std::printf("fncSendRawJob median: %.2f ms\n", oursMedian);
    std::printf("lp -o raw median:     %.2f ms\n", lpMedian);
    std::printf("lp / fncSendRawJob:   %.1f\n", lpMedian / oursMedian);
    std::printf("all %d jobs arrived byte for byte: %s\n", 2 * rounds, allArrived ? "yes" : "NO");
    return allArrived && messageBox.shown.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 50;
    if (rounds < 1) {
        std::cerr << "usage: orvel_bench_spooler [N]\n";
        return 2;
    }
    try {
        return run(rounds);
    } catch (const std::exception& e) {
        std::cerr << "orvel_bench_spooler: " << e.what() << "\n";
        return 1;
    }
}
