// Sends one job to many printers at once, on any number of schedulers. Each printer is served on
// its own, as the window serves its one: its own backend, lookup, busy check, job and pause, so
// that the pauses overlap and thirty printers take about one pause. Each scheduler has its own
// hand-off slots (HandOffSlots); the pauses are taken outside them. A scheduler that has once not
// answered in time is given up on for the rest of the run: its printers not yet served fail at
// once, so that a silent scheduler costs the run one bound, however many printers it has.
#pragma once

#include <optional>
#include <vector>

#include "cli/fleet/PrinterJob.h"
#include "cli/io/Console.h"
#include "cli/io/Platform.h"
#include "cli/report/PrinterReport.h"
#include "cli/targets/TargetPlan.h"

namespace orvel::cli {

struct FleetOptions {
    bool json = false;               // result lines as JSON
    std::optional<int> waitSeconds;  // wait for the sent jobs to leave their schedulers
};

class Fleet {
public:
    // Connections to one scheduler open at the same moment, at most.
    static constexpr int kHandOffsAtOnce = 16;
    // Threads at most; with more printers, each thread serves several in turn.
    static constexpr std::size_t kMaxThreads = 256;
    // From this many printers on, a progress count is shown (on a terminal).
    static constexpr std::size_t kProgressFrom = 5;
    // While waiting for jobs: how often each is asked after, and the most one question waits.
    static constexpr int kWaitPollMs = 500;
    static constexpr int kWaitQuestionMs = 5000;

    Fleet(const Platform& platform, Console& console, FleetOptions options);

    // One report per target, in the order of the plan; each result line is written as soon as
    // the results of all printers before it are known (with --wait, once the waiting is over).
    std::vector<PrinterReport> send(const PrinterJob& job, const TargetPlan& plan);

private:
    class Run;

    const Platform& platform_;
    Console& console_;
    FleetOptions options_;
};

}  // namespace orvel::cli
