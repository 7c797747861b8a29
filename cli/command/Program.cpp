#include "cli/command/Program.h"

#include <vector>

#include "cli/command/CommandLine.h"
#include "cli/command/HelpText.h"
#include "cli/command/PrinterNames.h"
#include "cli/fleet/Fleet.h"
#include "cli/fleet/PrinterJob.h"
#include "cli/io/BoundedRead.h"
#include "cli/io/JobFile.h"
#include "cli/io/Printable.h"
#include "cli/targets/TargetPlan.h"
#include "printer/commands/JobDecoder.h"
#include "settings/Profile.h"
#include "settings/mdlFlagSettings.h"

namespace orvel::cli {

namespace {

const char kNoServerChoice[] =
    "-h is not available here: name a shared printer as \\\\server\\printer with -d";
const char kNoEncryptionChoice[] = "-E is not available here: the spooler chooses the encryption";
const char kNoUserChoice[] = "-U is not available here: jobs are sent as the user who runs this";
const char kNoWaiting[] = "--wait is not available here: the spooler's jobs are not followed";

std::string sourceName(const std::string& path) {
    return path == "-" ? "standard input" : path;
}

std::string stateWord(QueueState state) {
    switch (state) {
        case QueueState::Idle:
            return "idle";
        case QueueState::Processing:
            return "processing";
        case QueueState::Stopped:
            return "stopped";
        case QueueState::Unknown:
            break;
    }
    return "unknown";
}

// The default may name an instance, "queue/instance"; the queue is what the listing shows.
bool isDefault(const QueueInfo& queue, const DefaultPrinter& defaultPrinter) {
    if (!defaultPrinter.found)
        return false;
    const std::string name = defaultPrinter.name.substr(0, defaultPrinter.name.find('/'));
    return samePrinterName(name, queue.name);
}

}  // namespace

Program::Program(const Platform& platform, Console& console)
    : platform_(platform), console_(console) {}

int Program::run(const std::vector<std::string>& arguments) {
    const CommandLineReading reading = CommandLine::read(arguments);
    if (!reading.ok())
        return usageError(reading.error);
    const Invocation& invocation = reading.invocation;
    // Where the spooler is reached through printer names alone (Windows), the scheduler cannot
    // be chosen.
    if (!platform_.useScheduler) {
        if (invocation.server)
            return usageError(kNoServerChoice);
        if (invocation.encrypt)
            return usageError(kNoEncryptionChoice);
        if (invocation.user)
            return usageError(kNoUserChoice);
        if (invocation.waitSeconds)
            return usageError(kNoWaiting);
    }
    switch (invocation.command) {
        case Command::Help: {
            const std::string help = kHelpText;
            console_.result(help.substr(0, help.size() - 1));
            return kAllSent;
        }
        case Command::Version:
            console_.result(kVersionLine);
            return kAllSent;
        case Command::Show:
            return show(invocation);
        case Command::Apply:
            return apply(invocation);
        case Command::Restore:
            return deliver(invocation, PrinterJob::restoreDefaults());
        case Command::FeaturesPage:
            return deliver(invocation, PrinterJob::featuresPage());
        case Command::Decode:
            return decode(invocation);
        case Command::Printers:
            return printers(invocation);
    }
    return kUsageError;
}

// One line of standard error, in the program's name.
void Program::tell(const std::string& error) {
    console_.message(std::string(kProgramName) + ": " + error);
}

int Program::usageError(const std::string& error) {
    tell(error);
    console_.message(kHint);
    return kUsageError;
}

int Program::failure(const std::string& error) {
    tell(error);
    return kNotAllSent;
}

bool Program::readSettings(const Invocation& invocation, FlagSettings& block) {
    Profile profile;
    if (invocation.file) {
        const std::string source = sourceName(*invocation.file);
        const BoundedRead read = BoundedRead::of(*invocation.file, kMaxProfileBytes);
        if (read.status == BoundedRead::Status::Unreadable) {
            tell(source + ": cannot read it: " + read.reason);
            return false;
        }
        const ProfileReading reading = readProfile(read.bytes, source);
        for (const std::string& error : reading.errors)
            tell(error);
        if (!reading.ok())
            return false;
        profile = reading.profile;
    }
    block = mdlFlagSettings::fncGetFlagSettings(profileSelections(profile));
    return true;
}

int Program::show(const Invocation& invocation) {
    FlagSettings block;
    if (!readSettings(invocation, block))
        return kUsageError;
    // In the decoder's words: what the printer makes of the job that apply would send.
    const DecodeResult decoded = decodeJob(PrinterJob::storeSettings(block).bytes());
    if (!decoded.ok())
        return failure(decoded.error);
    for (const std::string& line : decoded.lines)
        console_.result(line);
    return kAllSent;
}

int Program::apply(const Invocation& invocation) {
    FlagSettings block;
    if (!readSettings(invocation, block))
        return kUsageError;
    return deliver(invocation, PrinterJob::storeSettings(block));
}

int Program::deliver(const Invocation& invocation, const PrinterJob& job) {
    if (invocation.output) {
        const std::string reason = JobFile::write(*invocation.output, job.bytes());
        if (!reason.empty())
            return failure("cannot write " + sourceName(*invocation.output) + ": " + reason);
        return kAllSent;
    }
    const TargetReading targets = planTargets(invocation, platform_);
    if (!targets.ok())
        return usageError(targets.error);
    Fleet fleet(platform_, console_, FleetOptions{invocation.json, invocation.waitSeconds});
    const bool waited = invocation.waitSeconds.has_value();
    for (const PrinterReport& report : fleet.send(job, targets.plan)) {
        if (!succeeded(report, waited))
            return kNotAllSent;
    }
    return kAllSent;
}

int Program::decode(const Invocation& invocation) {
    const std::string path = invocation.file.value_or("-");
    const BoundedRead read = BoundedRead::of(path, kMaxJobBytes);
    if (read.status == BoundedRead::Status::Unreadable) {
        tell("cannot read " + sourceName(path) + ": " + read.reason);
        return kUsageError;
    }
    const DecodeResult decoded = decodeJob(read.bytes);
    if (!decoded.ok())
        return failure(sourceName(path) + ": " + decoded.error);
    for (const std::string& line : decoded.lines)
        console_.result(line);
    return kAllSent;
}

int Program::printers(const Invocation& invocation) {
    if (platform_.useScheduler)
        platform_.useScheduler(
            SchedulerChoice{invocation.server, invocation.encrypt, false, invocation.user});
    const QueueListing listing = platform_.newQueueDirectory()->listQueues();
    if (!listing.reached)
        return failure(listing.error);
    if (listing.queues.empty()) {
        tell("the spooler has no printers");
        return kAllSent;
    }
    const DefaultPrinter defaultPrinter = platform_.newSpooler()->defaultPrinter();
    for (const QueueInfo& queue : listing.queues) {
        std::string line = printable(queue.name) + "\t" + stateWord(queue.state) + "\t" +
                           std::to_string(queue.jobs);
        if (isDefault(queue, defaultPrinter))
            line += "\tdefault";
        console_.result(line);
    }
    return kAllSent;
}

}  // namespace orvel::cli
