#include "printerapp/server/JobStart.h"

#include <chrono>
#include <thread>

namespace orvel::printerapp {
namespace {

// The framework hands a pending job to a thread of its own, and that thread marks the job as
// printing only when it runs. A cancel that comes in between finds the job pending: it ends the
// job and removes its file while the thread goes on to print it with no file, and the job ends
// "aborted" instead of "canceled". So a cancel waits until the job has started, no longer than
// kMostWait: a thread that has not run by then is not about to.
constexpr auto kMostWait = std::chrono::seconds(2);
constexpr auto kPoll = std::chrono::milliseconds(2);

struct ActiveJobs {
    bool pending = false;
    bool printing = false;
};

void noteState(pappl_job_t* job, void* data) {
    auto* jobs = static_cast<ActiveJobs*>(data);
    const ipp_jstate_t state = papplJobGetState(job);
    jobs->pending |= state == IPP_JSTATE_PENDING;
    jobs->printing |= state == IPP_JSTATE_PROCESSING;
}

// Whether the printer is between handing a pending job to the thread that prints it and that
// thread marking it as printing. A printer that is not stopped and prints no job starts a
// pending one at once: it is handing it on.
bool startingJob(pappl_printer_t* printer) {
    if (papplPrinterGetState(printer) == IPP_PSTATE_STOPPED)
        return false;
    ActiveJobs jobs;
    papplPrinterIterateActiveJobs(printer, noteState, &jobs, 1, 0);
    return jobs.pending && !jobs.printing;
}

}  // namespace

void waitUntilJobStarted(pappl_client_t* client) {
    pappl_printer_t* printer = papplClientGetPrinter(client);
    if (!printer)
        return;
    const auto deadline = std::chrono::steady_clock::now() + kMostWait;
    while (startingJob(printer) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(kPoll);
}

bool cancelsJobs(ipp_op_t op) {
    switch (op) {
        case IPP_OP_CANCEL_JOB:
        case IPP_OP_CANCEL_JOBS:
        case IPP_OP_CANCEL_MY_JOBS:
        case IPP_OP_CANCEL_CURRENT_JOB:
        case IPP_OP_PURGE_JOBS:
            return true;
        default:
            return false;
    }
}

}  // namespace orvel::printerapp
