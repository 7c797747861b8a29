#include "cli/fleet/Fleet.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "cli/fleet/HandOffSleep.h"
#include "cli/fleet/HandOffSlots.h"
#include "cli/fleet/PrinterMessageSink.h"
#include "cli/io/Printable.h"
#include "printer/job/Messages.h"
#include "printer/job/PrinterChoice.h"
#include "printer/job/SpoolerDetails.h"

namespace orvel::cli {

namespace {

using Clock = std::chrono::steady_clock;

// How the result line and the messages name a printer.
std::string labelOf(const std::string& printerName) {
    return printerName.empty() ? "(default printer)" : printable(printerName);
}

// A job that has left its scheduler's queue, or stays held there until somebody releases it.
bool leftTheQueue(JobState state) {
    return state == JobState::Completed || state == JobState::Aborted ||
           state == JobState::Canceled || state == JobState::Held;
}

// Runs each task on a thread of its own, or in turn where no thread can be made; returns when
// all are done.
void runAtOnce(std::vector<std::function<void()>> tasks) {
    std::vector<std::thread> threads;
    for (auto& task : tasks) {
        try {
            threads.emplace_back(task);
        } catch (const std::system_error&) {
            task();
        }
    }
    for (std::thread& thread : threads)
        thread.join();
}

// What one scheduler shares among the threads that serve its printers.
struct SchedulerState {
    HandOffSlots slots{Fleet::kHandOffsAtOnce};
    std::atomic<bool> notAnswering{false};
};

struct Served {
    PrinterReport report;
    std::string printerName;  // what the spooler was asked for: the job is asked after by it
};

}  // namespace

// One send: the printers, the threads that serve them and the results as they come in.
class Fleet::Run {
public:
    Run(const Fleet& fleet, const PrinterJob& job, const TargetPlan& plan)
        : fleet_(fleet),
          job_(job),
          plan_(plan),
          served_(plan.targets.size()),
          showProgress_(plan.targets.size() >= kProgressFrom),
          printAsTheyCome_(!fleet.options_.waitSeconds) {
        for (std::size_t i = 0; i < plan.schedulers.size(); ++i) {
            schedulers_.push_back(std::make_unique<SchedulerState>());
            if (i < plan.notAnswering.size() && plan.notAnswering[i])
                schedulers_.back()->notAnswering = true;
        }
    }

    std::vector<PrinterReport> go() {
        if (plan_.targets.size() == 1) {
            serve();
        } else {
            startThreadsAndWait();
        }
        if (showProgress_)
            fleet_.console_.endProgress();
        if (fleet_.options_.waitSeconds) {
            waitForJobs(*fleet_.options_.waitSeconds);
            for (const auto& served : served_)
                printLine(served->report);
        }
        std::vector<PrinterReport> reports;
        for (const auto& served : served_)
            reports.push_back(served->report);
        return reports;
    }

private:
    void startThreadsAndWait() {
        std::vector<std::thread> threads;
        const std::size_t wanted = std::min(plan_.targets.size(), kMaxThreads);
        try {
            while (threads.size() < wanted)
                threads.emplace_back([this] { serve(); });
        } catch (const std::system_error&) {
            // Fewer threads than printers: those that run serve the rest in turn.
        }
        if (threads.empty())
            serve();
        for (std::thread& thread : threads)
            thread.join();
    }

    // Per thread in the spooler library, so before any request of this thread.
    void useScheduler(std::size_t scheduler) const {
        if (fleet_.platform_.useScheduler)
            fleet_.platform_.useScheduler(plan_.schedulers[scheduler]);
    }

    // A thread's loop: printers one after the other until none is left.
    void serve() {
        std::optional<std::size_t> current;
        for (;;) {
            const std::size_t index = next_++;
            if (index >= plan_.targets.size())
                return;
            const Target& target = plan_.targets[index];
            if (current != target.scheduler) {
                useScheduler(target.scheduler);
                current = target.scheduler;
            }
            finished(index, serveOne(target));
        }
    }

    Served serveOne(const Target& target) {
        if (target.decided) {
            fleet_.console_.message(labelOf(target.label) + ": " + printable(target.decidedWhy));
            return {report(target.label, *target.decided), ""};
        }
        SchedulerState& scheduler = *schedulers_[target.scheduler];
        if (scheduler.notAnswering)
            return givenUp(target);
        try {
            HandOffSlots::Held slot(scheduler.slots);
            // The slot may have come free because the scheduler was given up on.
            if (scheduler.notAnswering)
                return givenUp(target);
            Served served = sendTo(target, slot);
            if (served.report.result == PrinterResult::NotAnswering)
                scheduler.notAnswering = true;
            return served;
        } catch (const std::exception& failure) {
            fleet_.console_.message(labelOf(target.label) + ": " + failure.what());
            return {report(target.label, PrinterResult::Failed), ""};
        }
    }

    Served sendTo(const Target& target, HandOffSlots::Held& slot) {
        const std::unique_ptr<Spooler> backend = fleet_.platform_.newSpooler();
        const auto* details = dynamic_cast<const SpoolerDetails*>(backend.get());
        PrinterChoice choice(*backend, target.printerName);
        // A URI or a pattern's match is named as the user named it; without -d, the default
        // by its name once it is known.
        const auto label = [&] {
            return target.label.empty() ? choice.printerName() : target.label;
        };
        PrinterMessageSink sink(fleet_.console_, [&] { return labelOf(label()); });
        HandOffSleep pause([&slot] { slot.release(); }, fleet_.platform_.pause);
        PrinterServices services{choice, sink, pause};
        NoIdleControls controls;
        const std::optional<RawJobOutcome> outcome = job_.send(services, controls);
        // The printer output's message names no cause; one on this computer's side is told.
        const std::string localFailure = choice.localFailure();
        if (sink.heard() && !localFailure.empty())
            fleet_.console_.message(labelOf(label()) + ": " + localFailure);
        Served served{report(label(), refinedBy(resultOf(outcome, sink.heard()), details)),
                      choice.printerName()};
        served.report.message = sink.heardLines();
        if (served.report.result == PrinterResult::Sent && details != nullptr)
            served.report.jobId = details->lastJobId();
        return served;
    }

    // A printer of a scheduler that has not answered: not asked again; the window would have
    // told that it cannot be opened.
    Served givenUp(const Target& target) {
        const Message& message = messages::kOpenFailed;
        fleet_.console_.message(labelOf(target.label) + ": " +
                                PrinterMessageSink::oneLine(message.text()));
        Served served{report(target.label, PrinterResult::NotAnswering), ""};
        served.report.message = message.lines;
        return served;
    }

    static PrinterReport report(const std::string& label, PrinterResult result) {
        PrinterReport made;
        made.label = label.empty() ? "(default printer)" : label;
        made.result = result;
        made.time = utcNow();
        return made;
    }

    void finished(std::size_t index, Served served) {
        std::lock_guard<std::mutex> lock(mutex_);
        served_[index] = std::move(served);
        ++done_;
        while (printAsTheyCome_ && printed_ < served_.size() && served_[printed_]) {
            printLine(served_[printed_]->report);
            ++printed_;
        }
        if (showProgress_)
            fleet_.console_.progress(done_, served_.size());
    }

    void printLine(const PrinterReport& report) const {
        fleet_.console_.result(fleet_.options_.json ? jsonLine(report) : textLine(report));
    }

    // Asks after every sent job, each scheduler's on a thread of its own, until each has left
    // its queue or the time is up; a job that has not is reported in the state last seen.
    void waitForJobs(int seconds) {
        const Clock::time_point deadline = Clock::now() + std::chrono::seconds(seconds);
        std::vector<std::function<void()>> watchers;
        for (std::size_t scheduler = 0; scheduler < plan_.schedulers.size(); ++scheduler) {
            std::vector<std::size_t> jobs;
            for (std::size_t i = 0; i < served_.size(); ++i) {
                PrinterReport& report = served_[i]->report;
                if (report.result != PrinterResult::Sent)
                    continue;
                report.jobState = JobState::Unknown;
                if (plan_.targets[i].scheduler == scheduler && report.jobId > 0)
                    jobs.push_back(i);
            }
            if (!jobs.empty())
                watchers.push_back(
                    [this, scheduler, jobs, deadline] { watch(scheduler, jobs, deadline); });
        }
        runAtOnce(std::move(watchers));
    }

    void watch(std::size_t scheduler, std::vector<std::size_t> jobs, Clock::time_point deadline) {
        useScheduler(scheduler);
        const std::unique_ptr<Spooler> backend = fleet_.platform_.newSpooler();
        auto* details = dynamic_cast<SpoolerDetails*>(backend.get());
        if (details == nullptr)
            return;
        while (!jobs.empty() && Clock::now() < deadline) {
            for (auto it = jobs.begin(); it != jobs.end() && Clock::now() < deadline;) {
                Served& served = *served_[*it];
                const auto left =
                    std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
                const JobState state =
                    details->jobState(served.printerName, served.report.jobId,
                                      std::min(left, std::chrono::milliseconds(kWaitQuestionMs)));
                if (state != JobState::NotAnswering || served.report.jobState == JobState::Unknown)
                    served.report.jobState = state;
                it = leftTheQueue(state) ? jobs.erase(it) : it + 1;
            }
            if (!jobs.empty())
                fleet_.platform_.pause(kWaitPollMs);
        }
    }

    const Fleet& fleet_;
    const PrinterJob& job_;
    const TargetPlan& plan_;
    std::vector<std::unique_ptr<SchedulerState>> schedulers_;
    std::atomic<std::size_t> next_{0};
    std::mutex mutex_;
    std::vector<std::optional<Served>> served_;
    std::size_t done_ = 0;
    std::size_t printed_ = 0;
    const bool showProgress_;
    const bool printAsTheyCome_;
};

Fleet::Fleet(const Platform& platform, Console& console, FleetOptions options)
    : platform_(platform), console_(console), options_(std::move(options)) {}

std::vector<PrinterReport> Fleet::send(const PrinterJob& job, const TargetPlan& plan) {
    return Run(*this, job, plan).go();
}

}  // namespace orvel::cli
