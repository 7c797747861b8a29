#include "cli/fleet/Fleet.h"

#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "cli/fleet/HandOffSleep.h"
#include "cli/fleet/HandOffSlots.h"
#include "cli/fleet/PrinterMessageSink.h"
#include "cli/io/Printable.h"
#include "printer/commands/mdlFlagSettings.h"
#include "printer/job/PrinterChoice.h"

namespace orvel::cli {

namespace {

// How the result line and the messages name a printer.
std::string labelOf(const std::string& printerName) {
    return printerName.empty() ? "(default printer)" : printable(printerName);
}

struct Served {
    PrinterResult result;
    std::string printerName;
};

}  // namespace

// One send: the printers, the threads that serve them and the results as they come in.
class Fleet::Run {
public:
    Run(const Fleet& fleet, const PrinterJob& job, std::vector<std::optional<std::string>> targets)
        : fleet_(fleet),
          job_(job),
          targets_(std::move(targets)),
          served_(targets_.size()),
          showProgress_(targets_.size() >= kProgressFrom) {}

    std::vector<PrinterResult> go() {
        if (targets_.size() == 1) {
            serve();
        } else {
            startThreadsAndWait();
        }
        if (showProgress_)
            fleet_.console_.endProgress();
        std::vector<PrinterResult> results;
        for (const auto& served : served_)
            results.push_back(served->result);
        return results;
    }

private:
    void startThreadsAndWait() {
        std::vector<std::thread> threads;
        const std::size_t wanted = std::min(targets_.size(), kMaxThreads);
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

    // A thread's loop: printers one after the other until none is left.
    void serve() {
        // Per thread in the spooler library, so before any request of this thread.
        if (fleet_.server_ && fleet_.platform_.useServer)
            fleet_.platform_.useServer(*fleet_.server_);
        for (;;) {
            const std::size_t index = next_++;
            if (index >= targets_.size())
                return;
            finished(index, sendTo(targets_[index]));
        }
    }

    Served sendTo(const std::optional<std::string>& target) {
        const std::string given = target.value_or(std::string());
        try {
            HandOffSlots::Held slot(slots_);
            const std::unique_ptr<Spooler> backend = fleet_.platform_.newSpooler();
            PrinterChoice choice(*backend, target);
            PrinterMessageSink sink(fleet_.console_,
                                    [&choice] { return labelOf(choice.printerName()); });
            HandOffSleep pause([&slot] { slot.release(); }, fleet_.platform_.pause);
            PrinterServices services{choice, sink, pause};
            NoIdleControls controls;
            const std::optional<RawJobOutcome> outcome = job_.send(services, controls);
            // The printer output's message names no cause; one on this computer's side is told.
            const std::string localFailure = choice.localFailure();
            if (sink.heard() && !localFailure.empty())
                fleet_.console_.message(labelOf(choice.printerName()) + ": " + localFailure);
            return {resultOf(outcome, sink.heard()), choice.printerName()};
        } catch (const std::exception& failure) {
            fleet_.console_.message(labelOf(given) + ": " + failure.what());
            return {PrinterResult::Failed, given};
        }
    }

    void finished(std::size_t index, Served served) {
        std::lock_guard<std::mutex> lock(mutex_);
        served_[index] = std::move(served);
        ++done_;
        while (printed_ < served_.size() && served_[printed_]) {
            const Served& next = *served_[printed_];
            fleet_.console_.result(labelOf(next.printerName) + ": " + resultWords(next.result));
            ++printed_;
        }
        if (showProgress_)
            fleet_.console_.progress(done_, served_.size());
    }

    const Fleet& fleet_;
    const PrinterJob& job_;
    const std::vector<std::optional<std::string>> targets_;
    HandOffSlots slots_{kHandOffsAtOnce};
    std::atomic<std::size_t> next_{0};
    std::mutex mutex_;
    std::vector<std::optional<Served>> served_;
    std::size_t done_ = 0;
    std::size_t printed_ = 0;
    const bool showProgress_;
};

Fleet::Fleet(const Platform& platform, Console& console, std::optional<std::string> server)
    : platform_(platform), console_(console), server_(std::move(server)) {}

std::vector<PrinterResult> Fleet::send(const PrinterJob& job,
                                       const std::vector<std::string>& printers) {
    std::vector<std::optional<std::string>> targets(printers.begin(), printers.end());
    if (targets.empty())
        targets.push_back(std::nullopt);
    return Run(*this, job, std::move(targets)).go();
}

}  // namespace orvel::cli
