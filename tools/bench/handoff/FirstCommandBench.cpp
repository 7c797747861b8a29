// The first command of a fresh program: how long its hand-off takes with the CUPS spooler linked
// into the program, and with the spooler module that the window program opens on first use (the
// opening, which the program does while the question before the command is up, and the hand-off
// after it). Starts a private cupsd (tools/cups-sandbox), then N times in turn a fresh program of
// each kind, each handing the 15-byte settings job to the default printer once; checks that all
// 2N jobs arrived byte for byte. Needs root.
//
//   orvel_bench_first_command LINKED_PROGRAM MODULE_PROGRAM MODULE [N]      N defaults to 21
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "printer/commands/mdlFlagSettings.h"
#include "tests/cups/CupsSandbox.h"

extern char** environ;

namespace {

using orvel::test::CupsSandbox;

constexpr char kQueue[] = "Orvel";

struct Times {
    double open = 0;
    double handOff = 0;
    double handOffProcessor = 0;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Runs one fresh program to its end and reads its line.
Times runOnce(std::vector<std::string> words) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        throw std::runtime_error("no pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        throw std::runtime_error("cannot start " + words[0]);
    }
    std::string line;
    char buffer[128];
    ssize_t got = 0;
    while (line.size() < 1024 && (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0)
        line.append(buffer, static_cast<size_t>(got));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    Times times;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        std::sscanf(line.c_str(), "%lf %lf %lf", &times.open, &times.handOff,
                    &times.handOffProcessor) != 3)
        throw std::runtime_error(words[0] + " did not hand its job off");
    return times;
}

// Each program must find an empty queue, or the busy check would refuse its job.
void waitUntilQueueEmpty(const CupsSandbox& sandbox) {
    const auto deadline = std::chrono::steady_clock::now() + CupsSandbox::kJobTimeout;
    while (!sandbox.activeJobs(kQueue).empty()) {
        if (std::chrono::steady_clock::now() > deadline)
            throw std::runtime_error("the queue does not drain");
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

int run(const std::string& linked, const std::string& module, const std::string& modulePath,
        int rounds) {
    const std::string why = CupsSandbox::whyUnavailable();
    if (!why.empty()) {
        std::cerr << "orvel_bench_first_command: " << why << "\n";
        return 1;
    }
    CupsSandbox sandbox;
    sandbox.start();
    sandbox.addQueue(kQueue, true);

    std::vector<double> linkedHandOff, linkedProcessor, moduleOpen, moduleHandOff, moduleProcessor,
        moduleBoth;
    // Alternate, so that a drift of the machine weighs on both alike.
    for (int i = 0; i < rounds; ++i) {
        const Times linkedTimes = runOnce({linked});
        linkedHandOff.push_back(linkedTimes.handOff);
        linkedProcessor.push_back(linkedTimes.handOffProcessor);
        waitUntilQueueEmpty(sandbox);
        const Times times = runOnce({module, modulePath});
        moduleOpen.push_back(times.open);
        moduleHandOff.push_back(times.handOff);
        moduleProcessor.push_back(times.handOffProcessor);
        moduleBoth.push_back(times.open + times.handOff);
        waitUntilQueueEmpty(sandbox);
    }
    const orvel::FlagSettings zeros{};
    const orvel::Bytes command =
        orvel::mdlFlagSettings::fncDownloadCommand(orvel::mdlFlagSettings::kApplySettings, &zeros);
    const auto captured = sandbox.capturedJobs(kQueue);
    const bool allArrived =
        captured.size() == static_cast<size_t>(2 * rounds) &&
        std::all_of(captured.begin(), captured.end(), [&](const auto& c) { return c == command; });

    std::printf("first command of a fresh program: %d of each, 15 bytes, busy check on\n", rounds);
    std::printf("spooler linked in:  hand-off median %.2f ms, of it %.2f ms processor time\n",
                median(linkedHandOff), median(linkedProcessor));
    std::printf("spooler module:     opening median %.2f ms (while the question is up)\n",
                median(moduleOpen));
    std::printf("                    hand-off median %.2f ms, of it %.2f ms processor time\n",
                median(moduleHandOff), median(moduleProcessor));
    std::printf("                    opening and hand-off together %.2f ms\n", median(moduleBoth));
    std::printf("hand-off, module / linked: %.2f, processor time %.2f\n",
                median(moduleHandOff) / median(linkedHandOff),
                median(moduleProcessor) / median(linkedProcessor));
    std::printf("all %d jobs arrived byte for byte: %s\n", 2 * rounds, allArrived ? "yes" : "NO");
    return allArrived ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 4 ? std::atoi(argv[4]) : 21;
    if (argc < 4 || rounds < 1) {
        std::cerr << "usage: orvel_bench_first_command LINKED_PROGRAM MODULE_PROGRAM MODULE [N]\n";
        return 2;
    }
    try {
        return run(argv[1], argv[2], argv[3], rounds);
    } catch (const std::exception& e) {
        std::cerr << "orvel_bench_first_command: " << e.what() << "\n";
        return 1;
    }
}
