// A -d word read for what it names: a queue on the chosen scheduler (an instance, queue/instance,
// is its queue), a printer URI that names its scheduler itself, or a wildcard pattern over the
// queue names of a scheduler. Nothing is asked of any spooler here.
#pragma once

#include <optional>
#include <string>

#include "cli/io/SchedulerChoice.h"

namespace orvel::cli {

struct PrinterWord {
    enum class Kind { Queue, Uri, Pattern };

    Kind kind = Kind::Queue;
    std::string given;
    // A URI's own scheduler: its host and port, and ipps; none: the chosen scheduler.
    std::optional<SchedulerChoice> scheduler;
    // Two words of one identity name one printer.
    std::string identity;
    // A pattern: what a queue's name is matched against, and what a match's name is put after
    // to name it as the word does ("" or the URI up to the queue's name).
    std::string pattern;
    std::string matchPrefix;
    // Why the word names no printer (a malformed URI); empty when it is good.
    std::string problem;
};

// instances: the spooler knows queue instances (queue/instance), so that the queue is the
// printer.
PrinterWord readPrinterWord(const std::string& word, bool instances);

// True when the word holds a wildcard: *, ? or a [set].
bool isPattern(const std::string& word);

// Shell-style matching ignoring case: * any run, ? any one character, [abc], [a-z], [!a-z].
bool matchesPattern(const std::string& pattern, const std::string& name);

}  // namespace orvel::cli
