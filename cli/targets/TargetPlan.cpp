#include "cli/targets/TargetPlan.h"

#include <algorithm>
#include <map>
#include <set>
#include <system_error>
#include <thread>

#include "cli/command/PrinterNames.h"

namespace orvel::cli {

namespace {

std::string quoted(const std::string& word) {
    return "\"" + word + "\"";
}

class Planner {
public:
    Planner(const Invocation& invocation, const Platform& platform)
        : invocation_(invocation), platform_(platform) {}

    TargetReading plan() {
        SchedulerChoice chosen;
        chosen.server = invocation_.server;
        chosen.encrypt = invocation_.encrypt;
        chosen.user = invocation_.user;
        reading_.plan.schedulers.push_back(chosen);
        if (!readWords())
            return reading_;
        listPatternSchedulers();
        expand();
        return reading_;
    }

private:
    // The schedulers served by other means than -h (Windows): no URIs, no instances.
    bool schedulersByChoice() const { return static_cast<bool>(platform_.useScheduler); }

    bool readWords() {
        std::map<std::string, std::string> named;  // identity: the first word that named it
        for (const std::string& word : invocation_.printers) {
            PrinterWord read = readPrinterWord(word, schedulersByChoice());
            if (!read.problem.empty())
                return refuse(read.problem + ": " + quoted(word));
            if (read.scheduler && !schedulersByChoice())
                return refuse("printer URIs are not available here: " + quoted(word));
            if (read.scheduler) {
                read.scheduler->encrypt = invocation_.encrypt;
                read.scheduler->user = invocation_.user;
            }
            if (read.kind != PrinterWord::Kind::Pattern) {
                const auto [first, fresh] = named.emplace(read.identity, word);
                if (!fresh) {
                    const bool sameWord =
                        foldedPrinterName(first->second) == foldedPrinterName(word);
                    return refuse("printer " + quoted(word) + " named twice" +
                                  (sameWord ? "" : " (first as " + quoted(first->second) + ")"));
                }
            }
            words_.push_back(read);
            wordScheduler_.push_back(schedulerOf(read));
        }
        return true;
    }

    bool refuse(const std::string& error) {
        reading_.error = error;
        return false;
    }

    std::size_t schedulerOf(const PrinterWord& read) {
        if (!read.scheduler)
            return 0;
        std::vector<SchedulerChoice>& schedulers = reading_.plan.schedulers;
        for (std::size_t i = 1; i < schedulers.size(); ++i) {
            if (schedulers[i] == *read.scheduler)
                return i;
        }
        schedulers.push_back(*read.scheduler);
        return schedulers.size() - 1;
    }

    // One listing per scheduler that a pattern needs, all at the same time, each on a thread of
    // its own pointed at its scheduler.
    void listPatternSchedulers() {
        std::set<std::size_t> wanted;
        for (std::size_t i = 0; i < words_.size(); ++i) {
            if (words_[i].kind == PrinterWord::Kind::Pattern)
                wanted.insert(wordScheduler_[i]);
        }
        listings_.resize(reading_.plan.schedulers.size());
        std::vector<std::thread> threads;
        for (const std::size_t scheduler : wanted) {
            try {
                threads.emplace_back([this, scheduler] { list(scheduler); });
            } catch (const std::system_error&) {
                list(scheduler);
            }
        }
        for (std::thread& thread : threads)
            thread.join();
        reading_.plan.notAnswering.assign(reading_.plan.schedulers.size(), false);
        for (const std::size_t scheduler : wanted)
            reading_.plan.notAnswering[scheduler] = listings_[scheduler].notAnswering;
    }

    void list(std::size_t scheduler) {
        if (platform_.useScheduler)
            platform_.useScheduler(reading_.plan.schedulers[scheduler]);
        listings_[scheduler] = platform_.newQueueDirectory()->listQueues();
    }

    void expand() {
        std::set<std::string> named;
        for (const PrinterWord& read : words_) {
            if (read.kind != PrinterWord::Kind::Pattern)
                named.insert(read.identity);
        }
        if (invocation_.printers.empty()) {
            reading_.plan.targets.push_back(Target{});
            return;
        }
        for (std::size_t i = 0; i < words_.size(); ++i) {
            const PrinterWord& read = words_[i];
            const std::size_t scheduler = wordScheduler_[i];
            if (read.kind != PrinterWord::Kind::Pattern) {
                reading_.plan.targets.push_back({read.given, read.given, scheduler, {}, {}});
                continue;
            }
            expandPattern(read, scheduler, named);
        }
    }

    // The queues that match, in the listing's order, but those already named; a failure line
    // when the queues were not listed or none matches.
    void expandPattern(const PrinterWord& read, std::size_t scheduler,
                       std::set<std::string>& named) {
        const QueueListing& listing = listings_[scheduler];
        if (!listing.reached) {
            const PrinterResult why =
                listing.notAnswering ? PrinterResult::NotAnswering : PrinterResult::NotListed;
            reading_.plan.targets.push_back(
                {read.given, std::nullopt, scheduler, why, listing.error});
            return;
        }
        bool matched = false;
        for (const QueueInfo& queue : listing.queues) {
            if (!matchesPattern(read.pattern, queue.name))
                continue;
            matched = true;
            const std::string name = read.matchPrefix + queue.name;
            const std::string identity = readPrinterWord(name, schedulersByChoice()).identity;
            if (!named.insert(identity).second)
                continue;
            reading_.plan.targets.push_back({name, name, scheduler, {}, {}});
        }
        if (!matched)
            reading_.plan.targets.push_back(
                {read.given, std::nullopt, scheduler, PrinterResult::NoMatch,
                 "no queue of the scheduler matches " + quoted(read.pattern)});
    }

    const Invocation& invocation_;
    const Platform& platform_;
    TargetReading reading_;
    std::vector<PrinterWord> words_;
    std::vector<std::size_t> wordScheduler_;
    std::vector<QueueListing> listings_;
};

}  // namespace

TargetReading planTargets(const Invocation& invocation, const Platform& platform) {
    return Planner(invocation, platform).plan();
}

}  // namespace orvel::cli
