// One fresh program's first command, as the first-command benchmark starts it: the 15-byte
// store-settings job handed to the default printer through fncSendRawJob, busy check on. Built
// twice: with the CUPS spooler linked in, and with the spooler module that the window program
// opens (ORVEL_SPOOLER_MODULE). Prints one line, "OPEN_MS HANDOFF_MS HANDOFF_CPU_MS": the time
// the module took to open (0 for the linked spooler), which the program spends while its question
// waits for the user, the hand-off after it, and the processor time that the hand-off took in
// this process, which leaves out the waits for the scheduler.
//
//   orvel_first_command_linked
//   orvel_first_command_module MODULE
#include <time.h>

#include <chrono>
#include <cstdio>

#include "printer/commands/mdlFlagSettings.h"
#include "printer/job/RawJob.h"
#include "tests/support/FakeServices.h"

#ifdef ORVEL_SPOOLER_MODULE
#include "ui/services/SpoolerModule.h"
#else
#include "printer/cups/CupsSpooler.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double processorMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

}  // namespace

int main(int argc, char* argv[]) {
#ifdef ORVEL_SPOOLER_MODULE
    if (argc != 2) {
        std::fprintf(stderr, "usage: orvel_first_command_module MODULE\n");
        return 2;
    }
    const auto opening = Clock::now();
    orvel::SpoolerModule spooler(QString::fromLocal8Bit(argv[1]));
    if (!spooler.load())
        return 1;
    const double opened = millisecondsSince(opening);
#else
    (void)argc;
    (void)argv;
    orvel::CupsSpooler spooler;
    const double opened = 0;
#endif
    orvel::test::ScriptedMessageBox messageBox;
    orvel::test::RecordingSleep sleep;  // stands in for the pause after a download
    orvel::PrinterServices services{spooler, messageBox, sleep};
    const orvel::FlagSettings zeros{};
    const orvel::Bytes command =
        orvel::mdlFlagSettings::fncDownloadCommand(orvel::mdlFlagSettings::kApplySettings, &zeros);

    const auto handingOff = Clock::now();
    const double processorBefore = processorMilliseconds();
    const auto outcome = orvel::fncSendRawJob(
        services, orvel::mdlFlagSettings::kDownloadDocumentName, {command}, orvel::BusyCheck::On);
    const double handedOff = millisecondsSince(handingOff);
    const double processor = processorMilliseconds() - processorBefore;
    if (outcome != orvel::RawJobOutcome::Sent || !messageBox.shown.empty())
        return 1;
    std::printf("%.2f %.2f %.2f\n", opened, handedOff, processor);
    return 0;
}
