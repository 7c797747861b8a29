// Sends one job to many printers at once. Each printer is served on its own, as the window serves
// its one: its own backend, lookup, busy check, job and pause, so that the pauses overlap and
// thirty printers take about one pause. The hand-offs to the spooler are bounded by HandOffSlots;
// the pauses are not.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/fleet/PrinterJob.h"
#include "cli/fleet/PrinterResult.h"
#include "cli/io/Console.h"
#include "cli/io/Platform.h"

namespace orvel::cli {

class Fleet {
public:
    // Connections to the scheduler open at the same moment, at most.
    static constexpr int kHandOffsAtOnce = 16;
    // Threads at most; with more printers, each thread serves several in turn.
    static constexpr std::size_t kMaxThreads = 256;
    // From this many printers on, a progress count is shown (on a terminal).
    static constexpr std::size_t kProgressFrom = 5;

    // server: -h, for every thread's requests; none: the platform's own.
    Fleet(const Platform& platform, Console& console, std::optional<std::string> server);

    // One result per printer, in the order given; each result line is written as soon as the
    // results of all printers before it are known. No printers: the default printer.
    std::vector<PrinterResult> send(const PrinterJob& job,
                                    const std::vector<std::string>& printers);

private:
    class Run;

    const Platform& platform_;
    Console& console_;
    std::optional<std::string> server_;
};

}  // namespace orvel::cli
