// The wall time of `orvel-settings apply PROFILE -d ...` on 1, 10, 30 and 100 queues of one
// private cupsd, against applying it to the same queues one after the other (one run of the
// program per queue). Prints a Markdown table. Needs root (the private scheduler does).
//
//   orvel_bench_fleet [RUNS] [--skip-sequential-100]
//
// RUNS (default 3) runs of each fleet size are timed and their median printed; the one-after-the-
// other baseline is run once per size (it takes about N pauses: some 6 minutes for all four
// sizes; --skip-sequential-100 leaves out its longest, about 4 minutes). Before every run all
// queues are empty, so that the busy check finds each printer free; after it every queue's result
// line must say "sent" (with the job's id).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <regex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/cli/ProgramRun.h"
#include "tests/cli/SandboxQueues.h"
#include "tests/cups/CupsSandbox.h"

namespace {

using Clock = std::chrono::steady_clock;
using orvel::test::CupsSandbox;
using orvel::test::ProgramRun;

const char kProfile[] =
    "# The bench: the Export model, a serial line at 19200 baud.\n"
    "Model: Export\n"
    "Interface: Serial\n"
    "Baud Rate: 19200\n";

void waitUntilIdle(const CupsSandbox& sandbox, const std::vector<std::string>& queues) {
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    for (const std::string& queue : queues) {
        while (!sandbox.activeJobs(queue).empty()) {
            if (Clock::now() > deadline)
                throw std::runtime_error("queue " + queue + " does not drain");
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
}

void expectSent(const ProgramRun& run, size_t printers) {
    static const std::regex kSent(": sent(: job [0-9]+)?\n");
    const auto sent = static_cast<size_t>(std::distance(
        std::sregex_iterator(run.out.begin(), run.out.end(), kSent), std::sregex_iterator()));
    if (run.status != 0 || sent != printers)
        throw std::runtime_error("a run did not send to every queue:\n" + run.out + run.err);
}

double timeTogether(const CupsSandbox& sandbox, const std::string& profile,
                    const std::vector<std::string>& queues) {
    waitUntilIdle(sandbox, queues);
    std::vector<std::string> arguments = {"apply", profile};
    for (const std::string& queue : queues) {
        arguments.push_back("-d");
        arguments.push_back(queue);
    }
    const ProgramRun run = orvel::test::runProgram(arguments);
    expectSent(run, queues.size());
    return run.elapsed.count();
}

double timeOneAfterTheOther(const CupsSandbox& sandbox, const std::string& profile,
                            const std::vector<std::string>& queues) {
    waitUntilIdle(sandbox, queues);
    double total = 0;
    for (const std::string& queue : queues) {
        const ProgramRun run = orvel::test::runProgram({"apply", profile, "-d", queue});
        expectSent(run, 1);
        total += run.elapsed.count();
    }
    return total;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::string seconds(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", value);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 && argv[1][0] != '-' ? std::max(1, std::atoi(argv[1])) : 3;
    bool skipLongest = false;
    for (int i = 1; i < argc; ++i)
        skipLongest = skipLongest || std::string(argv[i]) == "--skip-sequential-100";
    const std::string why = CupsSandbox::whyUnavailable();
    if (!why.empty()) {
        std::cerr << "orvel_bench_fleet: " << why << "\n";
        return 1;
    }
    try {
        CupsSandbox sandbox;
        sandbox.start();
        const std::vector<std::string> all = orvel::test::queueNames("orvel", 100);
        orvel::test::addCaptureQueues(sandbox, all);
        const std::string profile = sandbox.folder() + "/bench.profile";
        std::ofstream(profile) << kProfile;

        std::cout << "| queues | together, median of " << runs
                  << " | runs | one after the other |\n|---|---|---|---|\n";
        for (const size_t size : {1u, 10u, 30u, 100u}) {
            const std::vector<std::string> queues(all.begin(), all.begin() + size);
            std::vector<double> together;
            for (int run = 0; run < runs; ++run)
                together.push_back(timeTogether(sandbox, profile, queues));
            std::string runsText;
            for (double value : together)
                runsText += (runsText.empty() ? "" : ", ") + seconds(value);
            const std::string sequential =
                skipLongest && size == 100
                    ? std::string("not run")
                    : seconds(timeOneAfterTheOther(sandbox, profile, queues));
            std::cout << "| " << size << " | " << seconds(median(together)) << " | " << runsText
                      << " | " << sequential << " |\n"
                      << std::flush;
        }
    } catch (const std::exception& failure) {
        std::cerr << "orvel_bench_fleet: " << failure.what() << "\n";
        return 1;
    }
    return 0;
}
